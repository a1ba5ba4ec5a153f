// SPDX-License-Identifier: GPL-3.0-or-later
#include "CUIDialog.h"

#include <QShowEvent>

CUIDialog::CUIDialog(QWidget* parent) : QDialog(parent) {}

CUIDialog::~CUIDialog() = default;

void CUIDialog::connectTaskbar() {
    auto taskbar = std::make_unique<TaskbarProgress>();
    if (taskbar->isAvailable()) {
        m_taskbar = std::move(taskbar);
    }
}

void CUIDialog::setTaskbarProgress(std::unique_ptr<TaskbarProgress> taskbar) {
    m_taskbar = std::move(taskbar);
    m_connectOnUse = false;
}

TaskbarProgress* CUIDialog::taskbar() {
    if (m_connectOnUse) {
        m_connectOnUse = false;
        connectTaskbar();
    }
    return m_taskbar.get();
}

bool CUIDialog::SetTaskbarProgress(std::int64_t completed) {
    TaskbarProgress* link = taskbar();
    return link != nullptr && link->setProgress(completed);
}

bool CUIDialog::SetTaskbarProgressState(int state) {
    TaskbarProgress* link = taskbar();
    return link != nullptr && link->setState(state);
}

void CUIDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_taskbar) {
        m_connectOnUse = true;
    }
    if (!event->spontaneous() && !m_taskbarAnnounced) {
        m_taskbarAnnounced = true;
        OnTaskbarButtonCreated();
    }
}

void CUIDialog::done(int result) {
    QDialog::done(result);
    m_taskbar.reset();
    m_connectOnUse = false;
    m_taskbarAnnounced = false;
}
