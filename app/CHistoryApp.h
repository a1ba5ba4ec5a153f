// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "SingleInstance.h"

class CHistoryDlg;
class HistoryPreload;
class SettingsStore;

// The program from start to end: the single-instance lock, the data folder, the settings
// store (loaded at start, written at exit only), and the main window run modally in between.
class CHistoryApp {
public:
    // Tests give their own lock name so that they never meet a running program.
    explicit CHistoryApp(std::string lockName = "Global\\DEZ");
    ~CHistoryApp();
    CHistoryApp(const CHistoryApp&) = delete;
    CHistoryApp& operator=(const CHistoryApp&) = delete;

    // The start-up sequence, the main window's life and the exit sequence. Returns the
    // process's exit code: 2 when the database could not be opened, else 0.
    int Run();

    // `tavro --demo`: the main window's title says so, so that neither the user nor a picture of
    // it takes the demo's history for the user's own.
    void markAsDemo() { m_demo = true; }
    // Runs once the lock is held, before the data folder is touched; false ends the program
    // with exit code 1 (the prelude has told the user why). The demo prepares its folder here.
    void setPrelude(std::function<bool()> prelude) { m_prelude = std::move(prelude); }

    // Takes the lock and starts reading the history ahead, before the application object
    // exists: reading is the longest part of a start, and Qt's own start-up (some 25 ms)
    // can run beside it. Only where nothing may change the data folder before the window (not
    // the demo). Run does the same later when this was not called or the lock was not free.
    void StartReadingEarly();

    // The running main window (null outside Run), for tests that drive it.
    CHistoryDlg* mainWindow() const { return m_dlg.get(); }

    static const QString& secondCopyMessage();

private:
    // False when the start was refused (another copy runs).
    bool InitInstance();
    void RunMainWindow();
    int ExitInstance();

    SingleInstance m_instance;
    std::function<bool()> m_prelude;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<HistoryPreload> m_preload;
    std::unique_ptr<CHistoryDlg> m_dlg;
    int m_exitCode = 0;
    bool m_demo = false;
};
