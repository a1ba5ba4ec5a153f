#include "DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QVariantMap>

namespace DesktopNotifier {

bool notify(const QString& title, const QString& text) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop entry names the program and its icon where the server shows them.
    const QString desktopId = QGuiApplication::desktopFileName();
    const QVariantMap hints = {{QStringLiteral("desktop-entry"), desktopId}};
    const uint replacesNone = 0;
    const int serverDefaultTimeout = -1;
    call << QGuiApplication::applicationDisplayName() << replacesNone << desktopId << title << text
         << QStringList() << hints << serverDefaultTimeout;
    return bus.send(call);
}

}  // namespace DesktopNotifier
