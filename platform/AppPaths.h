// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

// Where the program keeps its data: the folder "TavroHistory" under the application-data folder.
class AppPaths {
public:
    // The variable "appdata" when set, else $XDG_DATA_HOME, else ~/.local/share.
    static std::filesystem::path appDataFolder();
    // <application-data folder>/TavroHistory
    static std::filesystem::path dataFolder();
    // Creates the data folder (and its parents) with mode 0700 and narrows a looser mode of an
    // existing one to 0700. False when the folder cannot be created.
    static bool ensureDataFolder();
    // <data folder>/TavroHistory.config
    static std::filesystem::path settingsFile();
    // <data folder>/masterDatabase.sq3
    static std::filesystem::path databaseFile();
    // The database path as the database layer takes it: the path as text, or, when a folder
    // name on it is not valid UTF-8, a name of the same file through /proc/self/fd.
    static std::u16string databaseFileU16();
};
