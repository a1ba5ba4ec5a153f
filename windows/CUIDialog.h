// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskbarProgress.h"

#include <QDialog>
#include <cstdint>
#include <memory>

// Base of the program's dialogs that drive the taskbar button's progress display.
// The connection to the taskbar is made when the dialog is created (and again when a dialog
// that was ended is shown anew) and released when the dialog ends (done()), after which the
// progress calls return false.
class CUIDialog : public QDialog {
    Q_OBJECT
public:
    explicit CUIDialog(QWidget* parent = nullptr);
    ~CUIDialog() override;

    // completed out of 100. False without a session bus, after the dialog ended, or on failure.
    bool SetTaskbarProgress(std::int64_t completed);
    // A TaskbarProgress::State value. Same result rule.
    bool SetTaskbarProgressState(int state);

    // Called when the taskbar button has been created; nothing to do in the base class.
    virtual void OnTaskbarButtonCreated() {}

    void done(int result) override;

    // Tests replace the taskbar connection (for instance with a private bus or none).
    void setTaskbarProgress(std::unique_ptr<TaskbarProgress> taskbar);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void connectTaskbar();

    std::unique_ptr<TaskbarProgress> m_taskbar;
    bool m_taskbarAnnounced = false;
};
