// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayIcon.h"

#include <QAction>
#include <QMenu>
#include <atomic>

#include "AppIcon.h"
#include "DesktopNotifier.h"

namespace {

std::atomic<bool> g_simulated{false};

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() {
    // The menu must go before the icon that shows it.
    if (m_icon != nullptr) {
        m_icon->setContextMenu(nullptr);
    }
}

void TrayIcon::setSimulated(bool simulated) {
    g_simulated = simulated;
}

bool TrayIcon::available() const {
    return g_simulated || QSystemTrayIcon::isSystemTrayAvailable();
}

QSystemTrayIcon* TrayIcon::systemIcon() {
    if (g_simulated) {
        return nullptr;
    }
    if (m_icon == nullptr) {
        m_icon = new QSystemTrayIcon(AppIcon::program(), this);
        m_icon->setToolTip(QStringLiteral("Tavro History"));
        connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::activate);
        // Trays that speak StatusNotifierItem report no double click: the menu is the way
        // back there.
        m_menu = std::make_unique<QMenu>();
        QAction* restore = m_menu->addAction(QStringLiteral("Przywróć okno"));
        connect(restore, &QAction::triggered, this, &TrayIcon::restoreRequested);
        m_icon->setContextMenu(m_menu.get());
    }
    return m_icon;
}

void TrayIcon::show() {
    m_shown = true;
    if (QSystemTrayIcon* icon = systemIcon()) {
        icon->show();
    }
}

void TrayIcon::hide() {
    m_shown = false;
    if (m_icon != nullptr) {
        m_icon->hide();
    }
}

bool TrayIcon::showMessage(const QString& title, const QString& text) {
    if (m_shown) {
        if (QSystemTrayIcon* icon = systemIcon()) {
            icon->showMessage(title, text, QSystemTrayIcon::NoIcon);
        }
    } else if (!m_standIn || available() || !DesktopNotifier::notify(title, text)) {
        return false;
    }
    emit messageShown(title, text);
    return true;
}

void TrayIcon::activate(QSystemTrayIcon::ActivationReason reason) {
    if (m_shown && reason == QSystemTrayIcon::DoubleClick) {
        emit restoreRequested();
    }
}
