// SPDX-License-Identifier: GPL-3.0-or-later
// The main window in the notification area: minimised with "HideOnMinimize" it leaves the
// taskbar for its tray icon, and a double click on the icon brings it back.
#include <QEvent>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include "AppSettings.h"
#include "CHistoryDlg.h"
#include "TrayIcon.h"

namespace {

const char16_t* const kHideOnMinimizeKey = u"HideOnMinimize";

}  // namespace

void CHistoryDlg::createTrayIcon() {
    m_tray = new TrayIcon(this);
    connect(m_tray, &TrayIcon::restoreRequested, this, &CHistoryDlg::RestoreFromTray);
}

void CHistoryDlg::changeEvent(QEvent* event) {
    CUIDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    const Qt::WindowStates old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    followWindowState(old);
    if (m_inTray) {
        return;
    }
    const bool hideOnMinimize = AppSettings::GetInt(kHideOnMinimizeKey, 0) != 0;
    m_tray->setStandIn(isMinimized() && hideOnMinimize && !m_tray->available());
    if (!isMinimized()) {
        return;
    }
    if (!(old & Qt::WindowMinimized)) {
        m_maximisedBeforeTray = (old & Qt::WindowMaximized) != 0;
    }
    if (!hideOnMinimize || !m_tray->available()) {
        return;
    }
    // Hiding inside the state change confuses some window managers: once it is over.
    QTimer::singleShot(0, this, &CHistoryDlg::hideInTray);
}

void CHistoryDlg::hideInTray() {
    if (!isMinimized() || !isVisible() || m_destroyed) {
        return;
    }
    capturePlacement();
    m_tray->show();
    m_inTray = true;
    m_hidingInTray = true;
    hide();
    m_hidingInTray = false;
}

void CHistoryDlg::RestoreFromTray() {
    if (!m_inTray) {
        return;
    }
    m_inTray = false;
    // Back in the state it had before it was minimised, maximised included.
    if (m_maximisedBeforeTray) {
        showMaximized();
    } else {
        showNormal();
    }
    raise();
    activateWindow();
    m_tray->hide();
}

void CHistoryDlg::setVisible(bool visible) {
    if (!visible && m_hidingInTray) {
        QWidget::setVisible(false);
        return;
    }
    CUIDialog::setVisible(visible);
}
