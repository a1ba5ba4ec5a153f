// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "DownloadUi.h"

// Records every call of the worker, for tests that run it without windows. Read the
// records after the worker has been joined.
class RecordingDownloadUi : public DownloadUi {
public:
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

    // Called with each progress text, on the worker thread (a test presses Cancel here).
    std::function<void(const std::u16string&)> onProgressText;
    bool answer = false;  // the answer to every question

    // "main:0", "progress:1", "cancel", "taskbar:1", "warnings", "finished", ... in order.
    std::vector<std::string> events;
    std::vector<int32_t> upperBar, lowerBar, taskbarValues;
    std::vector<std::u16string> texts, console, warnings;
    std::vector<std::pair<std::u16string, std::u16string>> balloons, questions;

private:
    std::mutex m_lock;
};
