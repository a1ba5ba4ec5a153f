// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

class CPluginLoader;
class DownloadUi;
class JobPasswords;
class SettingsStore;
namespace sqlite3x {
class connection;
}

using MessengerNotifier =
    std::function<void(const std::u16string& title, const std::u16string& text)>;

// What the main window lends to the worker. All of it must outlive the worker.
struct DownloadServices {
    sqlite3x::connection& database;
    CPluginLoader& loader;
    SettingsStore& settings;
    DownloadUi& ui;
    MessengerNotifier messenger;        // NotifyMessenger when empty
    JobPasswords* passwords = nullptr;  // null: each job's password is used as it stands
};
