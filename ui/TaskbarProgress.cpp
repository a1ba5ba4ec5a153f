#include "TaskbarProgress.h"

#include <QDBusMessage>
#include <QVariantMap>
#include <algorithm>

namespace {

const QString kPathPrefix = QStringLiteral("/com/canonical/unity/launcherentry/");
const QString kInterface = QStringLiteral("com.canonical.Unity.LauncherEntry");

}  // namespace

TaskbarProgress::TaskbarProgress(QDBusConnection bus, QString appUri)
    : m_bus(std::move(bus)), m_appUri(std::move(appUri)) {}

bool TaskbarProgress::isAvailable() const {
    return m_bus.isConnected();
}

bool TaskbarProgress::setProgress(std::int64_t completed) {
    m_progress = static_cast<double>(std::clamp<std::int64_t>(completed, 0, 100)) / 100.0;
    m_visible = true;
    return send();
}

bool TaskbarProgress::setState(int state) {
    m_visible = state != NoProgress;
    return send();
}

bool TaskbarProgress::send() {
    if (!m_bus.isConnected()) {
        return false;
    }
    // The entry is named after the application, so the path only has to be a valid object path.
    const QString path = kPathPrefix + QString::number(qHash(m_appUri));
    QDBusMessage signal = QDBusMessage::createSignal(path, kInterface, QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), m_progress);
    properties.insert(QStringLiteral("progress-visible"), m_visible);
    signal << m_appUri << properties;
    return m_bus.send(signal);
}
