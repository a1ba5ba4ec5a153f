// The main window's commands: the menu, the buttons and the timers.
#include "CHistoryDlg.h"
#include "CWndConsole.h"
#include "MessageBox.h"

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
    FillAccountCombo();
    ReloadHistory(Schema::kSelectHistory);
    ApplyFilters();
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
    try {
        m_con.execute(Schema::kDeleteAllTransactions);
    } catch (const std::exception& error) {
        ConsoleLine(
            QStringLiteral("\tBłąd bazy danych: %1").arg(QString::fromLocal8Bit(error.what())));
    }
    ReloadHistory(Schema::kSelectHistory);
}

// The commands below open the auxiliary windows and start downloads.

void CHistoryDlg::OnStartDownload() {}

void CHistoryDlg::OnExport() {}

void CHistoryDlg::OnAccountManager() {}

void CHistoryDlg::OnOptions() {}

void CHistoryDlg::OnCheckNumber() {}

void CHistoryDlg::OnAbout() {}

void CHistoryDlg::OnDetails() {}

void CHistoryDlg::OnScheduleTimer() {}

// The download worker starts the reload timer when it ends.
void CHistoryDlg::OnReloadTimer() {
    ReloadHistory(Schema::kSelectHistory);
}
