// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include "AppPaths.h"
#include "AppSettings.h"
#include "Schema.h"
#include "sqlite3x.h"

MainWindowHarness::MainWindowHarness() {
    EnsureApplication();
    AppPaths::ensureDataFolder();
    m_settings = std::make_unique<SettingsStore>(AppPaths::settingsFile());
    AppSettings::publish(m_settings.get());
}

MainWindowHarness::~MainWindowHarness() {
    close();
    AppSettings::publish(nullptr);
}

void MainWindowHarness::createAccounts(const std::vector<AccountSpec>& accounts) {
    sqlite3x::connection con;
    Schema::OpenDatabase(con, AppPaths::databaseFileU16(), [](const std::u16string&) {});
    for (const AccountSpec& account : accounts) {
        sqlite3x::command cmd(con, Schema::kInsertAccount);
        cmd.bind_text(1, QString::fromStdString(account.number).toStdU16String());
        cmd.bind_text(2, QString::fromStdString(account.user).toStdU16String());
        cmd.bind_text(3, QString::fromStdString(account.name).toStdU16String());
        cmd.bind_text(4, QString::fromStdString(account.password).toStdU16String());
        cmd.bind_int(5, account.type);
        cmd.execute();
    }
}

void MainWindowHarness::open(const std::filesystem::path& programFolder) {
    m_window = std::make_unique<CHistoryDlg>();
    if (!programFolder.empty()) {
        m_window->setProgramFolder(programFolder);
    }
    ASSERT_TRUE(m_window->OnInitDialog());
}

void MainWindowHarness::close() {
    if (m_window) {
        m_window->reject();
        m_window->OnDestroy();
        m_window.reset();
    }
}

int64_t MainWindowHarness::countRows(const char* sql) {
    sqlite3x::connection con;
    con.open(AppPaths::databaseFileU16());
    return con.execute_int(sql);
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}
