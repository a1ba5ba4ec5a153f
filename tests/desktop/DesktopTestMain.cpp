// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop tests run as a user whose LANG says nothing of Polish, on a session bus of their
// own: a private dbus-daemon started here, so no real desktop ever sees a test notification.
#include <gtest/gtest.h>

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DesktopTestSupport.h"

namespace {

std::string g_busAddress;

// dbus-daemon forks, prints its address and process id, and its first process ends.
bool startPrivateBus(pid_t& daemon) {
    FILE* output = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
    if (output == nullptr) {
        return false;
    }
    char address[1024] = {};
    char pid[64] = {};
    const bool read = std::fgets(address, sizeof address, output) != nullptr &&
                      std::fgets(pid, sizeof pid, output) != nullptr;
    ::pclose(output);
    if (!read) {
        return false;
    }
    g_busAddress = address;
    while (!g_busAddress.empty() && g_busAddress.back() == '\n') {
        g_busAddress.pop_back();
    }
    daemon = static_cast<pid_t>(std::atol(pid));
    return daemon > 0 && !g_busAddress.empty();
}

}  // namespace

namespace DesktopTestSupport {

const std::string& busAddress() {
    return g_busAddress;
}

}  // namespace DesktopTestSupport

int main(int argc, char** argv) {
    ::setenv("LANG", "C", 1);
    ::setenv("LC_ALL", "C", 1);
    ::unsetenv("LANGUAGE");
    pid_t daemon = 0;
    if (!startPrivateBus(daemon)) {
        std::fprintf(stderr, "cannot start a private dbus-daemon\n");
        return 1;
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", g_busAddress.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    const int result = RUN_ALL_TESTS();
    ::kill(daemon, SIGTERM);
    return result;
}
