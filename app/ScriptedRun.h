// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QDialog;

// For tests that run the real program where nothing can type into it (a Wayland compositor
// lets no client drive another): with TAVRO_SCRIPT=download in the environment the program
// does what a user of the demo does. It presses "Pobierz", asks the account selector for a year
// of every account and confirms it, waits for the download to end and the list to fill. Then it
// opens every window of the menus in turn, waits until the compositor shows it, prints
// "scripted window: <title>" and cancels it. At the end it prints "scripted: <title>; <rows> rows"
// to the standard error and closes the main window as its close box does. When that takes over
// two minutes it prints "scripted: gave up at step N" instead and closes the window all the same.
class ScriptedRun : public QObject {
    Q_OBJECT
public:
    static void installIfAsked(QDialog* mainWindow);

private:
    explicit ScriptedRun(QDialog* mainWindow);
    void poll();
    bool pressDownload();
    bool confirmSelector();
    bool downloadEnded();
    bool openNextWindow();
    bool closeShownWindow();
    void finish();

    enum class Step { Press, Select, Download, OpenWindow, CloseWindow, Done };
    QDialog* m_window;
    QTimer m_timer;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceOpened;
    Step m_step = Step::Press;
    size_t m_nextWindow = 0;
};
