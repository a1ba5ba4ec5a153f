// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionBus.h"

#include <dbus/dbus.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool nonEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != 0;
}

bool executable(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0;
}

// The library runs its own build's launcher first, then the one found on PATH.
bool launcherInstalled() {
    if (executable("/usr/bin/dbus-launch")) {
        return true;
    }
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        if (!folder.empty() && executable(std::string(folder) + "/dbus-launch")) {
            return true;
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return false;
}

}  // namespace

namespace SessionBus {

bool known() {
    if (nonEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat status {};
    return runtime != nullptr && *runtime != 0 &&
           ::stat((std::string(runtime) + "/bus").c_str(), &status) == 0 &&
           S_ISSOCK(status.st_mode);
}

void failFastWhenAbsent() {
    if (known() || (nonEmpty("DISPLAY") && launcherInstalled())) {
        return;
    }
    // The library reads the session's address once and keeps it. Given one that names no
    // transport, for this moment only, its connections fail without a fork; the environment
    // that child processes get stays as it was.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    DBusError error;
    dbus_error_init(&error);
    if (DBusConnection* connection = dbus_bus_get_private(DBUS_BUS_SESSION, &error)) {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
    dbus_error_free(&error);
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace SessionBus
