// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <memory>

class QMenu;

// The main window's icon in the notification area, present only while the window hides there.
// Without a system tray nothing can bring a hidden window back, so the window then stays a
// normal minimised window (available() is false) that stands in for the icon: the balloon goes
// to the desktop as a notification instead. Tests simulate a tray: the icon's state is kept,
// nothing reaches the desktop, and activate() stands in for the user's clicks.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    bool available() const;
    void show();
    void hide();
    bool isShown() const { return m_shown; }
    // Where there is no tray: the window is minimised where it would have hidden in the tray.
    void setStandIn(bool minimisedInstead) { m_standIn = minimisedInstead; }
    bool standsIn() const { return m_standIn; }
    // The balloon, or the desktop notification in its place; nothing when neither the icon is
    // shown nor a window stands in for it. False when nothing was shown.
    bool showMessage(const QString& title, const QString& text);

    // What the tray reports about the user's clicks: a double click asks to restore the
    // window, every other click is ignored.
    void activate(QSystemTrayIcon::ActivationReason reason);

    // For tests: a tray that is always available and never shown on the desktop.
    static void setSimulated(bool simulated);

signals:
    void restoreRequested();
    void messageShown(const QString& title, const QString& text);

private:
    QSystemTrayIcon* systemIcon();

    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon = nullptr;  // child of this, created on first show
    bool m_shown = false;
    bool m_standIn = false;
};
