// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DownloadUi.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class CUIDialog;
class CWndProgress;
class CWndWarnings;
class QObject;

// The windows of a download as the worker thread reaches them. Every call is delivered to the
// interface thread; the question and console lines wait until they are done there, the rest are
// queued in order. Create it on the interface thread and keep it until the worker has ended.
//
//   CWndDownloadUi ui(this, m_progress, m_warnings,
//                     {[this](auto& line) { m_console->AddLine(...); },
//                      [this](auto& title, auto& text) { m_tray->showMessage(title, text); },
//                      [this] { m_reloadTimer.start(100); }});
class CWndDownloadUi : public DownloadUi {
public:
    struct Hooks {
        std::function<void(const std::u16string& line)> console;
        // The tray balloon; the main window does nothing when its tray icon is not there.
        std::function<void(const QString& title, const QString& text)> balloon;
        // The run is over: the main window reloads its list (timer 1010).
        std::function<void()> finished;
    };

    CWndDownloadUi(CUIDialog* mainWindow, CWndProgress* progress, CWndWarnings* warnings,
                   Hooks hooks);
    ~CWndDownloadUi() override;

    void enableMainWindow(bool enable) override;
    void showProgressWindow(bool show) override;
    void enableCancel() override;
    void setUpperBar(int32_t percent) override;
    void setLowerBar(int32_t percent) override;
    void setProgressText(const std::u16string& text) override;
    void setTaskbarState(TaskbarState state) override;
    void setTaskbarValue(int32_t percent) override;
    void consoleLine(const std::u16string& line) override;
    void addWarning(const std::u16string& text) override;
    void showWarnings() override;
    void showBalloon(const std::u16string& title, const std::u16string& text) override;
    bool askYesNo(const std::u16string& text, const std::u16string& caption) override;
    void downloadFinished() override;

private:
    enum class Delivery { Queued, Blocking };
    void deliver(std::function<void()> call, Delivery delivery);

    std::unique_ptr<QObject> m_context;  // lives on the interface thread
    QPointer<CUIDialog> m_mainWindow;
    QPointer<CWndProgress> m_progress;
    QPointer<CWndWarnings> m_warnings;
    Hooks m_hooks;
};
