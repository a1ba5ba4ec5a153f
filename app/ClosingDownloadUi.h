// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <memory>

#include "DownloadUi.h"

// The main window's download windows, with one addition: once the window is closing, the
// question whether to cancel the remaining jobs answers itself with yes and no balloon is shown,
// so that a download stops without a box appearing over a window that is going away.
class ClosingDownloadUi : public DownloadUi {
public:
    explicit ClosingDownloadUi(std::unique_ptr<DownloadUi> windows);
    ~ClosingDownloadUi() override;

    void setClosing() { m_closing = true; }
    bool closing() const { return m_closing; }

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
    std::unique_ptr<DownloadUi> m_windows;
    std::atomic<bool> m_closing{false};
};
