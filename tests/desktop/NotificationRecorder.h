// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <vector>

// A notification service that only remembers what it was asked to show.
class NotificationRecorder : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        QString application;
        QString icon;
        QString summary;
        QString body;
        QVariantMap hints;
    };
    const std::vector<Notification>& received() const { return m_received; }

public slots:
    uint Notify(const QString& application, uint replacesId, const QString& icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int timeout) {
        Q_UNUSED(replacesId)
        Q_UNUSED(actions)
        Q_UNUSED(timeout)
        m_received.push_back({application, icon, summary, body, hints});
        return static_cast<uint>(m_received.size());
    }

private:
    std::vector<Notification> m_received;
};
