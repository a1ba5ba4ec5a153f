// SPDX-License-Identifier: GPL-3.0-or-later
// Where there is no tray, the balloon reaches the desktop's notification service over D-Bus.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QGuiApplication>
#include <QTest>
#include <QVariantMap>

#include "AppIcon.h"
#include "DesktopTestSupport.h"
#include "NotificationRecorder.h"
#include "TrayIcon.h"

namespace {

class DesktopNotification : public ::testing::Test {
protected:
    void SetUp() override {
        QGuiApplication::setDesktopFileName(AppIcon::desktopId());
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
            QString::fromStdString(DesktopTestSupport::busAddress()), QStringLiteral("recorder")));
        ASSERT_TRUE(m_bus->isConnected());
        ASSERT_TRUE(m_bus->registerService(QStringLiteral("org.freedesktop.Notifications")));
        ASSERT_TRUE(m_bus->registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                          &m_recorder, QDBusConnection::ExportAllSlots));
    }
    void TearDown() override {
        m_bus->unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        m_bus->unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        m_bus.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("recorder"));
    }

    std::unique_ptr<QDBusConnection> m_bus;
    NotificationRecorder m_recorder;
};

TEST_F(DesktopNotification, StandInWindowSendsTheBalloonToTheDesktop) {
    TrayIcon tray;
    ASSERT_FALSE(tray.available()) << "the private bus has no tray";
    const QString title = QStringLiteral("Nowe operacje na liście");
    const QString text = QStringLiteral("Sztuk: 3, na łączną kwotę 12,50");

    EXPECT_FALSE(tray.showMessage(title, text)) << "no icon and no stand-in: nothing";
    tray.setStandIn(true);
    EXPECT_TRUE(tray.showMessage(title, text));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_recorder.received().empty(); }, 5000));
    ASSERT_EQ(m_recorder.received().size(), 1u);
    const NotificationRecorder::Notification& got = m_recorder.received().front();
    EXPECT_EQ(got.summary, title);
    EXPECT_EQ(got.body, text);
    EXPECT_EQ(got.icon, AppIcon::desktopId());
    EXPECT_EQ(got.hints.value(QStringLiteral("desktop-entry")).toString(), AppIcon::desktopId());
}

}  // namespace
