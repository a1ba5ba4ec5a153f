// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: the menu, the buttons and the timers.
#include <QDialog>

#include "AppSettings.h"
#include "CAboutDlg.h"
#include "CHistoryDlg.h"
#include "CPluginLoader.h"
#include "CSatGraph.h"
#include "CWndAccountManager.h"
#include "CWndConsole.h"
#include "CWndDetails.h"
#include "CWndExport.h"
#include "CWndNRBCalc.h"
#include "CWndOptions.h"
#include "MessageBox.h"

void CHistoryDlg::runGuarded(const std::function<void()>& body) {
    QString problem;
    try {
        body();
        return;
    } catch (const sqlite3x::database_error& error) {
        problem = QStringLiteral("Błąd bazy danych: %1").arg(QString::fromUtf8(error.what()));
    } catch (const std::exception& error) {
        problem = QStringLiteral("Błąd: %1").arg(QString::fromUtf8(error.what()));
    }
    ConsoleLine(QStringLiteral("\t%1").arg(problem));
    MessageBox::show(this, problem, windowTitle(), MessageBox::Buttons::Ok,
                     MessageBox::Icon::Error);
}

void CHistoryDlg::OnShowConsole() {
    if (m_console) {
        m_console->show();
        m_console->raise();
    }
}

void CHistoryDlg::OnCloseCommand() {
    accept();
}

void CHistoryDlg::OnReloadList() {
    runGuarded([this] {
        FillAccountCombo();
        ReloadHistory(Schema::kSelectHistory);
        ApplyFilters();
    });
}

void CHistoryDlg::OnClearList() {
    const auto answer = MessageBox::show(
        this,
        QStringLiteral("Czy jesteś pewien, ze chcesz wyzerować całą listę operacji bankowych?"),
        QStringLiteral("Potwierdź kasowanie..."), MessageBox::Buttons::YesNo,
        MessageBox::Icon::Question);
    if (answer != MessageBox::Answer::Yes) {
        return;
    }
    runGuarded([this] { Schema::ClearOperations(m_con); });
    ReloadHistory(Schema::kSelectHistory);
}

void CHistoryDlg::OnStartDownload() {
    runGuarded([this] { StartDownload(); });
}

void CHistoryDlg::OnExport() {
    std::vector<StoredOperation> all;
    all.reserve(entries().size());
    for (size_t i = 0; i < entries().size(); ++i) {
        all.push_back(entries().at(i));
    }
    const std::vector<int32_t>& rows = listedEntries();
    CWndExport dlg(this);
    dlg.setOperations(std::move(all), std::vector<int>(rows.begin(), rows.end()));
    dlg.exec();
}

void CHistoryDlg::OnAccountManager() {
    runGuarded([this] {
        CWndAccountManager dlg(m_con, &modules(), this);
        dlg.exec();
    });
    // Whatever happened there, the account filter and the list follow the table.
    OnReloadList();
}

void CHistoryDlg::OnOptions() {
    SettingsStore* settings = AppSettings::store();
    if (settings == nullptr) {
        return;
    }
    CWndOptions dlg(*settings, this);
    dlg.exec();
}

void CHistoryDlg::OnCheckNumber() {
    CWndNRBCalc dlg(this);
    dlg.exec();
}

void CHistoryDlg::OnAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

// The item that is both selected and focused; nothing after a filter change, which rebuilds
// the list without a selection.
void CHistoryDlg::OnDetails() {
    if (!m_graph->isHidden()) {
        return;  // the graph stands in the list's place
    }
    const int32_t index = selectedEntry();
    if (index < 0 || static_cast<size_t>(index) >= entries().size()) {
        return;
    }
    CWndDetails dlg(CWndDetails::FromEntry(entries().at(static_cast<size_t>(index))), this);
    dlg.exec();
}

// The download worker starts the reload timer when it ends. The filters keep their values, so
// the new operations appear under them; the account filter is not refilled.
void CHistoryDlg::OnReloadTimer() {
    m_reloadTimer.stop();
    ReloadHistory(Schema::kSelectHistory);
}
