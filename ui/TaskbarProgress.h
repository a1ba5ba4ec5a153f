#pragma once

#include <QDBusConnection>
#include <QString>
#include <cstdint>

// Progress on the program's taskbar (launcher) button: the D-Bus signal
// com.canonical.Unity.LauncherEntry.Update with the properties "progress" and "progress-visible",
// which KDE Plasma and the common docks show.
class TaskbarProgress {
public:
    // The states of the taskbar button's progress display, with the values the download engine
    // passes (no progress 0, indeterminate 1, normal 2, error 4, paused 8).
    enum State : int { NoProgress = 0, Indeterminate = 1, Normal = 2, Error = 4, Paused = 8 };

    explicit TaskbarProgress(QDBusConnection bus = QDBusConnection::sessionBus(),
                             QString appUri = QStringLiteral("application://tavro.desktop"));

    // False when there is no bus or the signal could not be sent.
    bool isAvailable() const;
    // completed out of 100 (clamped); like the taskbar it switches a hidden display on.
    bool setProgress(std::int64_t completed);
    bool setState(int state);

    double progress() const { return m_progress; }
    bool progressVisible() const { return m_visible; }

private:
    bool send();

    QDBusConnection m_bus;
    QString m_appUri;
    double m_progress = 0.0;
    bool m_visible = false;
};
