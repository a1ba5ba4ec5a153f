// SPDX-License-Identifier: GPL-3.0-or-later
// A session without a bus: Qt's connections fail at once where no bus could be started, and the
// launcher still runs where one is installed. Each case in a process of its own: the D-Bus
// library keeps the session's address once it has read it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusError>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "SessionBus.h"

namespace {

bool launcherInstalledBySystem() {
    return ::access("/usr/bin/dbus-launch", X_OK) == 0;
}

// No address, a runtime folder without the user's bus, an X display, and `path` as PATH.
void withoutBus(const QString& runtime, const QString& path) {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    qputenv("DISPLAY", ":99");
    qputenv("PATH", path.toUtf8());
}

}  // namespace

TEST(SessionBusDeathTest, WithoutLauncherConnectionsFailAtOnceAndTheEnvironmentStays) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (launcherInstalledBySystem()) {
        GTEST_SKIP() << "dbus-launch is installed here";
    }
    QTemporaryDir empty;
    EXPECT_EXIT(
        {
            withoutBus(empty.path(), empty.path());
            SessionBus::failFastWhenAbsent();
            const QDBusConnection bus = QDBusConnection::sessionBus();
            // A failed launch would say Spawn.*: the library tried no launcher.
            std::fprintf(stderr, "%s\n", qPrintable(bus.lastError().name()));
            std::exit(std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr && !bus.isConnected() ? 0
                                                                                               : 1);
        },
        testing::ExitedWithCode(0), "org.freedesktop.DBus.Error.BadAddress");
}

TEST(SessionBusDeathTest, AnInstalledLauncherIsStillRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (launcherInstalledBySystem()) {
        GTEST_SKIP() << "dbus-launch is installed here";
    }
    QTemporaryDir folder;
    const QString ran = folder.filePath("ran");
    QFile launcher(folder.filePath("dbus-launch"));
    ASSERT_TRUE(launcher.open(QIODevice::WriteOnly));
    launcher.write(QStringLiteral("#!/bin/sh\n: > '%1'\nexit 1\n").arg(ran).toUtf8());
    launcher.close();
    launcher.setPermissions(launcher.permissions() | QFileDevice::ExeOwner);
    EXPECT_EXIT(
        {
            withoutBus(folder.path(), folder.path());
            SessionBus::failFastWhenAbsent();
            QDBusConnection::sessionBus();
            std::exit(QFile::exists(ran) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
