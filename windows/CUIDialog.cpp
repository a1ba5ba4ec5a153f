// SPDX-License-Identifier: GPL-3.0-or-later
#include "CUIDialog.h"

#include <QShowEvent>

CUIDialog::CUIDialog(QWidget* parent) : QDialog(parent) {
    connectTaskbar();
}

CUIDialog::~CUIDialog() = default;

void CUIDialog::connectTaskbar() {
    auto taskbar = std::make_unique<TaskbarProgress>();
    if (taskbar->isAvailable()) {
        m_taskbar = std::move(taskbar);
    }
}

void CUIDialog::setTaskbarProgress(std::unique_ptr<TaskbarProgress> taskbar) {
    m_taskbar = std::move(taskbar);
}

bool CUIDialog::SetTaskbarProgress(std::int64_t completed) {
    return m_taskbar && m_taskbar->setProgress(completed);
}

bool CUIDialog::SetTaskbarProgressState(int state) {
    return m_taskbar && m_taskbar->setState(state);
}

void CUIDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_taskbar) {
        connectTaskbar();
    }
    if (!event->spontaneous() && !m_taskbarAnnounced) {
        m_taskbarAnnounced = true;
        OnTaskbarButtonCreated();
    }
}

void CUIDialog::done(int result) {
    QDialog::done(result);
    m_taskbar.reset();
    m_taskbarAnnounced = false;
}
