// SPDX-License-Identifier: GPL-3.0-or-later
#include "CUIDialog.h"
#include "TaskbarProgress.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <QVariantMap>

namespace {

QDBusConnection noBus() {
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/tavro-bus"),
                                         QStringLiteral("tavro-no-bus"));
}

TEST(TaskbarProgress, WithoutABusEveryCallFails) {
    TaskbarProgress taskbar(noBus());
    EXPECT_FALSE(taskbar.isAvailable());
    EXPECT_FALSE(taskbar.setState(TaskbarProgress::Normal));
    EXPECT_FALSE(taskbar.setProgress(40));
    EXPECT_DOUBLE_EQ(0.4, taskbar.progress());
    EXPECT_TRUE(taskbar.progressVisible());
    taskbar.setState(TaskbarProgress::NoProgress);
    EXPECT_FALSE(taskbar.progressVisible());
    taskbar.setProgress(250);
    EXPECT_DOUBLE_EQ(1.0, taskbar.progress());
}

TEST(TaskbarProgress, DialogWithoutTaskbarOrAfterItEndedReturnsFalse) {
    CUIDialog dialog;
    dialog.setTaskbarProgress(std::make_unique<TaskbarProgress>(noBus()));
    EXPECT_FALSE(dialog.SetTaskbarProgress(10));
    EXPECT_FALSE(dialog.SetTaskbarProgressState(TaskbarProgress::Normal));
    dialog.setTaskbarProgress(nullptr);
    EXPECT_FALSE(dialog.SetTaskbarProgress(10));
    dialog.done(0);
    EXPECT_FALSE(dialog.SetTaskbarProgress(10));
    EXPECT_FALSE(dialog.SetTaskbarProgressState(TaskbarProgress::NoProgress));
}

}  // namespace

namespace {

// Records the launcher-entry updates seen on a bus.
class UpdateListener : public QObject {
    Q_OBJECT
public:
    QStringList uris;
    QList<QVariantMap> properties;

public slots:
    void update(const QString& uri, const QVariantMap& values) {
        uris << uri;
        properties << values;
    }
};

// A private message bus for the test, stopped with the test.
class PrivateBus {
public:
    PrivateBus() {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000)) {
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(QStringLiteral("tavro-sender"));
        QDBusConnection::disconnectFromBus(QStringLiteral("tavro-listener"));
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    QString address() const { return m_address; }

private:
    QProcess m_daemon;
    QString m_address;
};

TEST(TaskbarProgress, SendsLauncherEntryUpdatesOnTheBus) {
    PrivateBus bus;
    if (bus.address().isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not available";
    }
    QDBusConnection listener =
        QDBusConnection::connectToBus(bus.address(), QStringLiteral("tavro-listener"));
    ASSERT_TRUE(listener.isConnected());
    UpdateListener received;
    ASSERT_TRUE(
        listener.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                         QStringLiteral("Update"), &received, SLOT(update(QString, QVariantMap))));

    CUIDialog dialog;
    dialog.setTaskbarProgress(std::make_unique<TaskbarProgress>(
        QDBusConnection::connectToBus(bus.address(), QStringLiteral("tavro-sender"))));
    EXPECT_TRUE(dialog.SetTaskbarProgressState(TaskbarProgress::Normal));
    EXPECT_TRUE(dialog.SetTaskbarProgress(40));
    EXPECT_TRUE(dialog.SetTaskbarProgressState(TaskbarProgress::NoProgress));

    QDeadlineTimer deadline(5000);
    while (received.properties.size() < 3 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ASSERT_EQ(3, received.properties.size());
    EXPECT_EQ(QStringLiteral("application://tavro.desktop"), received.uris[0]);
    EXPECT_TRUE(received.properties[0].value(QStringLiteral("progress-visible")).toBool());
    EXPECT_DOUBLE_EQ(0.4, received.properties[1].value(QStringLiteral("progress")).toDouble());
    EXPECT_FALSE(received.properties[2].value(QStringLiteral("progress-visible")).toBool());

    dialog.done(0);
    EXPECT_FALSE(dialog.SetTaskbarProgress(50));
}

}  // namespace

#include "TaskbarProgressTest.moc"
