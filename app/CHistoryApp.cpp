// SPDX-License-Identifier: GPL-3.0-or-later
#include "CHistoryApp.h"

#include <QString>
#include <QTableView>
#include <QTimer>

#include "AppPaths.h"
#include "AppSettings.h"
#include "CHistoryDlg.h"
#include "FirstPaintProbe.h"
#include "HistoryPreload.h"
#include "MessageBox.h"
#include "PasswordMigrationOffer.h"
#include "ScriptedRun.h"
#include "SettingsStore.h"

namespace {

constexpr int kDatabaseFailure = 2;

}  // namespace

CHistoryApp::CHistoryApp(std::string lockName) : m_instance(std::move(lockName)) {}

CHistoryApp::~CHistoryApp() = default;

const QString& CHistoryApp::secondCopyMessage() {
    static const QString text = QStringLiteral(
        "Jedna instancja aplikacj jest już uruchomiona!\r\nNie można kontynuować ponieważ "
        "program wymaga exkluzywnego trybu dostępu do bazy danych.");
    return text;
}

int CHistoryApp::Run() {
    if (InitInstance()) {
        RunMainWindow();
    }
    return ExitInstance();
}

void CHistoryApp::StartReadingEarly() {
    // Not before the lock: a second copy's reading would hold up the first one's writing.
    if (m_preload == nullptr && m_instance.acquire()) {
        m_preload = std::make_unique<HistoryPreload>();
        m_preload->start(AppPaths::databaseFileU16());
    }
}

bool CHistoryApp::InitInstance() {
    m_exitCode = 0;
    if (!m_instance.acquire()) {
        MessageBox::show(nullptr, secondCopyMessage());
        return false;
    }
    if (m_prelude && !m_prelude()) {
        m_exitCode = 1;
        return false;
    }
    // Failure shows later: the database cannot be opened in a missing folder.
    AppPaths::ensureDataFolder();
    if (m_preload == nullptr) {
        m_preload = std::make_unique<HistoryPreload>();
        m_preload->start(AppPaths::databaseFileU16());
    }
    m_settings = std::make_unique<SettingsStore>(AppPaths::settingsFile());
    AppSettings::publish(m_settings.get());
    m_settings->Load();
    return true;
}

void CHistoryApp::RunMainWindow() {
    m_dlg = std::make_unique<CHistoryDlg>();
    if (m_demo) {
        m_dlg->setWindowTitle(m_dlg->windowTitle() + QStringLiteral(" (demo)"));
    }
    m_dlg->setPreload(std::move(m_preload));
    if (m_dlg->OnInitDialog()) {
        FirstPaintProbe::installIfAsked(m_dlg->findChild<QTableView*>());
        ScriptedRun::installIfAsked(m_dlg.get());
        // Over the shown window, once the database check has passed.
        CHistoryDlg* dlg = m_dlg.get();
        QObject::connect(dlg, &CHistoryDlg::databaseSound, dlg,
                         [dlg] { PasswordMigrationOffer::run(dlg->connection(), dlg); });
        m_dlg->exec();
        if (m_dlg->databaseDamaged()) {
            m_exitCode = kDatabaseFailure;
        }
    } else {
        m_exitCode = kDatabaseFailure;
    }
    m_dlg->OnDestroy();
    m_dlg.reset();
}

int CHistoryApp::ExitInstance() {
    m_instance.release();
    if (m_settings) {
        if (!m_settings->Save()) {
            MessageBox::show(nullptr,
                             QStringLiteral("Podczas próby zapisu ustawień do pliku '%1' wystapił "
                                            "błąd, ustawienia nie zostaną zapisane!")
                                 .arg(QString::fromStdString(m_settings->path().string())),
                             QStringLiteral("Błąd zapisu"), MessageBox::Buttons::Ok,
                             MessageBox::Icon::Error);
        }
        AppSettings::publish(nullptr);
        m_settings.reset();
    }
    return m_exitCode;
}
