// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClosingDownloadUi.h"

ClosingDownloadUi::ClosingDownloadUi(std::unique_ptr<DownloadUi> windows)
    : m_windows(std::move(windows)) {}

ClosingDownloadUi::~ClosingDownloadUi() = default;

void ClosingDownloadUi::enableMainWindow(bool enable) {
    m_windows->enableMainWindow(enable);
}

void ClosingDownloadUi::showProgressWindow(bool show) {
    m_windows->showProgressWindow(show);
}

void ClosingDownloadUi::enableCancel() {
    m_windows->enableCancel();
}

void ClosingDownloadUi::setUpperBar(int32_t percent) {
    m_windows->setUpperBar(percent);
}

void ClosingDownloadUi::setLowerBar(int32_t percent) {
    m_windows->setLowerBar(percent);
}

void ClosingDownloadUi::setProgressText(const std::u16string& text) {
    m_windows->setProgressText(text);
}

void ClosingDownloadUi::setTaskbarState(TaskbarState state) {
    m_windows->setTaskbarState(state);
}

void ClosingDownloadUi::setTaskbarValue(int32_t percent) {
    m_windows->setTaskbarValue(percent);
}

void ClosingDownloadUi::consoleLine(const std::u16string& line) {
    m_windows->consoleLine(line);
}

void ClosingDownloadUi::addWarning(const std::u16string& text) {
    m_windows->addWarning(text);
}

void ClosingDownloadUi::showWarnings() {
    if (!m_closing) {
        m_windows->showWarnings();
    }
}

void ClosingDownloadUi::showBalloon(const std::u16string& title, const std::u16string& text) {
    if (!m_closing) {
        m_windows->showBalloon(title, text);
    }
}

bool ClosingDownloadUi::askYesNo(const std::u16string& text, const std::u16string& caption) {
    if (m_closing) {
        return true;
    }
    return m_windows->askYesNo(text, caption);
}

void ClosingDownloadUi::downloadFinished() {
    m_windows->downloadFinished();
}
