#pragma once

#include <QString>

// A notification on the desktop through the session bus's notification service
// (org.freedesktop.Notifications), for desktops without a system tray to show a balloon.
namespace DesktopNotifier {

// Sends without waiting for the service's answer. False when there is no session bus.
bool notify(const QString& title, const QString& text);

}  // namespace DesktopNotifier
