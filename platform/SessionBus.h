// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop session's D-Bus bus: the keyring, the taskbar, notifications, and Qt's own users
// (accessibility, the global menu). Where the session names none, the D-Bus library starts a bus
// through X11 on each first connection, forking dbus-launch.

namespace SessionBus {

// The session names its bus: in the environment, or as the user's bus socket.
bool known();

// Where no bus is known and none can be started either (no dbus-launch to run, or no X display),
// makes the D-Bus library's connections (Qt's) fail at once, as they would once the launcher had
// failed: the fork alone costs a start some 30 ms, its copy-on-write splitting the huge pages
// that the list is being read into. Call before any other thread runs: it sets the environment
// for a moment.
void failFastWhenAbsent();

}  // namespace SessionBus
