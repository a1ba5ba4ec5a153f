// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window with its real database file, settings and windows, for the command tests.

#include <QApplication>
#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "AppTestSupport.h"
#include "CHistoryDlg.h"
#include "MessageBox.h"
#include "NextModal.h"
#include "SettingsStore.h"

struct AccountSpec {
    std::string number;
    std::string user;
    std::string name;
    std::string password;
    int type = 0;
};

// A fresh data folder, a published settings store, message boxes answered by the test, and
// the main window (not shown until the test shows it).
class MainWindowHarness {
public:
    MainWindowHarness();
    ~MainWindowHarness();

    SettingsStore& settings() { return *m_settings; }
    ScopedMessageBoxHandler& boxes() { return m_boxes; }
    CHistoryDlg& window() { return *m_window; }

    // Creates the database with these accounts (and no operations).
    void createAccounts(const std::vector<AccountSpec>& accounts);
    // Builds and initialises the window; modules come from programFolder/banki when given.
    void open(const std::filesystem::path& programFolder = {});
    // Closes the window as the program does (closing sequence included).
    void close();

    int64_t countRows(const char* sql);

private:
    TempAppData m_appData;
    std::unique_ptr<SettingsStore> m_settings;
    ScopedMessageBoxHandler m_boxes;
    std::unique_ptr<CHistoryDlg> m_window;
};

// Serves events until the condition holds or the time is up; returns the condition.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 30000);
