// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingDownloadUi.h"

using Guard = std::lock_guard<std::mutex>;

void RecordingDownloadUi::enableMainWindow(bool enable) {
    Guard g(m_lock);
    events.push_back(enable ? "main:1" : "main:0");
}

void RecordingDownloadUi::showProgressWindow(bool show) {
    Guard g(m_lock);
    events.push_back(show ? "progress:1" : "progress:0");
}

void RecordingDownloadUi::enableCancel() {
    Guard g(m_lock);
    events.push_back("cancel");
}

void RecordingDownloadUi::setUpperBar(int32_t percent) {
    Guard g(m_lock);
    upperBar.push_back(percent);
}

void RecordingDownloadUi::setLowerBar(int32_t percent) {
    Guard g(m_lock);
    lowerBar.push_back(percent);
}

void RecordingDownloadUi::setProgressText(const std::u16string& text) {
    {
        Guard g(m_lock);
        texts.push_back(text);
    }
    if (onProgressText) {
        onProgressText(text);
    }
}

void RecordingDownloadUi::setTaskbarState(TaskbarState state) {
    Guard g(m_lock);
    events.push_back(state == TaskbarState::Normal ? "taskbar:1" : "taskbar:0");
}

void RecordingDownloadUi::setTaskbarValue(int32_t percent) {
    Guard g(m_lock);
    taskbarValues.push_back(percent);
}

void RecordingDownloadUi::consoleLine(const std::u16string& line) {
    Guard g(m_lock);
    console.push_back(line);
}

void RecordingDownloadUi::addWarning(const std::u16string& text) {
    Guard g(m_lock);
    warnings.push_back(text);
}

void RecordingDownloadUi::showWarnings() {
    Guard g(m_lock);
    events.push_back("warnings");
}

void RecordingDownloadUi::showBalloon(const std::u16string& title, const std::u16string& text) {
    Guard g(m_lock);
    balloons.emplace_back(title, text);
}

bool RecordingDownloadUi::askYesNo(const std::u16string& text, const std::u16string& caption) {
    Guard g(m_lock);
    questions.emplace_back(text, caption);
    return answer;
}

void RecordingDownloadUi::downloadFinished() {
    Guard g(m_lock);
    events.push_back("finished");
}
