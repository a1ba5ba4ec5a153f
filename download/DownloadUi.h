// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Everything the download worker does to windows. Called on the worker thread; the window
// implementation delivers each call to the interface thread, and waits for the ones that
// return an answer.
class DownloadUi {
public:
    enum class TaskbarState { NoProgress, Normal };

    virtual ~DownloadUi() = default;

    virtual void enableMainWindow(bool enable) = 0;
    virtual void showProgressWindow(bool show) = 0;
    // Enables the progress window's Cancel button (id 2), which disables itself when pressed.
    virtual void enableCancel() = 0;
    virtual void setUpperBar(int32_t percent) = 0;                 // control 1011
    virtual void setLowerBar(int32_t percent) = 0;                 // control 1012
    virtual void setProgressText(const std::u16string& text) = 0;  // control 1013
    virtual void setTaskbarState(TaskbarState state) = 0;
    virtual void setTaskbarValue(int32_t percent) = 0;  // out of 100
    virtual void consoleLine(const std::u16string& line) = 0;
    virtual void addWarning(const std::u16string& text) = 0;
    virtual void showWarnings() = 0;
    // The tray balloon; silently nothing when the tray icon is not there.
    virtual void showBalloon(const std::u16string& title, const std::u16string& text) = 0;
    // A Yes/No question with the question icon, owned by no window; true for Yes.
    virtual bool askYesNo(const std::u16string& text, const std::u16string& caption) = 0;
    // The run is over: the main window reloads its list (timer 1010, 100 ms).
    virtual void downloadFinished() = 0;
};
