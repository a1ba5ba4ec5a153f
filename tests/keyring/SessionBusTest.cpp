// SPDX-License-Identifier: GPL-3.0-or-later
// Without a session bus: Qt's connections fail at once where none could be started, and an
// installed launcher still runs (a process each: the D-Bus library keeps the address it read).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusError>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "SessionBus.h"

// Exits 0 when `check` holds after a start with no address, no user bus and `folder` as PATH.
template <typename Check>
static void startWithoutBus(const QString& folder, Check check) {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", folder.toUtf8());
    qputenv("DISPLAY", ":99");
    qputenv("PATH", folder.toUtf8());
    SessionBus::failFastWhenAbsent();
    std::exit(check() ? 0 : 1);
}

TEST(SessionBusDeathTest, ConnectionsFailAtOnceWithoutLauncherAndRunAnInstalledOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (::access("/usr/bin/dbus-launch", X_OK) == 0) {
        GTEST_SKIP() << "dbus-launch is installed here";
    }
    QTemporaryDir folder;
    const auto failsAtOnce = [] {  // a failed launch would give a Spawn error
        const QDBusConnection bus = QDBusConnection::sessionBus();
        return bus.lastError().name() == QLatin1String("org.freedesktop.DBus.Error.BadAddress") &&
               std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr;
    };
    EXPECT_EXIT(startWithoutBus(folder.path(), failsAtOnce), testing::ExitedWithCode(0), "");
    const QString ran = folder.filePath("ran");
    QFile launcher(folder.filePath("dbus-launch"));
    ASSERT_TRUE(launcher.open(QIODevice::WriteOnly));
    launcher.write(QStringLiteral("#!/bin/sh\n: > '%1'\nexit 1\n").arg(ran).toUtf8());
    launcher.close();
    launcher.setPermissions(launcher.permissions() | QFileDevice::ExeOwner);
    const auto launched = [&ran] {
        QDBusConnection::sessionBus();
        return QFile::exists(ran);
    };
    EXPECT_EXIT(startWithoutBus(folder.path(), launched), testing::ExitedWithCode(0), "");
}
