// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskbarProgress.h"

#include <QDialog>
#include <cstdint>
#include <memory>

// Base of the program's dialogs that drive the taskbar button's progress display.
// The connection to the taskbar is made on the first progress call (not with the dialog: a
// start without a session bus spent some 10 ms looking for one), and released when the dialog
// ends (done()), after which the progress calls return false until it is shown anew.
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

    // The taskbar connection to use, when made; m_connectOnUse: to be made on the next call.
    TaskbarProgress* taskbar();

    std::unique_ptr<TaskbarProgress> m_taskbar;
    bool m_connectOnUse = true;
    bool m_taskbarAnnounced = false;
};
