// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppPaths.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder() {
    std::string home = environment("HOME");
    if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
            home = pw->pw_dir;
        }
    }
    return home;
}

// An open descriptor of a folder, for the life of the process, and its name under /proc.
class FolderAlias {
public:
    explicit FolderAlias(const std::filesystem::path& folder)
        : m_fd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {}
    ~FolderAlias() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FolderAlias(const FolderAlias&) = delete;
    FolderAlias& operator=(const FolderAlias&) = delete;

    // Still the folder at that path (it was not removed or replaced since).
    bool names(const std::filesystem::path& folder) const {
        struct stat held {};
        struct stat now {};
        return m_fd >= 0 && ::fstat(m_fd, &held) == 0 && ::stat(folder.c_str(), &now) == 0 &&
               held.st_dev == now.st_dev && held.st_ino == now.st_ino;
    }
    std::u16string name() const {
        return u"/proc/self/fd/" + std::filesystem::path(std::to_string(m_fd)).u16string();
    }

private:
    int m_fd;
};

// The folder's /proc name, or empty when the folder cannot be opened.
std::u16string folderAlias(const std::filesystem::path& folder) {
    static std::mutex lock;
    static std::map<std::string, std::unique_ptr<FolderAlias>> aliases;
    const std::lock_guard<std::mutex> guard(lock);
    std::unique_ptr<FolderAlias>& alias = aliases[folder.native()];
    if (!alias || !alias->names(folder)) {
        alias = std::make_unique<FolderAlias>(folder);
    }
    return alias->names(folder) ? alias->name() : std::u16string();
}

// The native conversion of a path to text, when the path is text at all.
std::optional<std::u16string> pathText(const std::filesystem::path& path) {
    try {
        std::u16string text = path.u16string();
        if (std::filesystem::path(text).native() == path.native()) {
            return text;
        }
    } catch (const std::exception&) {
        // not valid UTF-8
    }
    return std::nullopt;
}

}  // namespace

std::filesystem::path AppPaths::appDataFolder() {
    if (std::string appdata = environment("appdata"); !appdata.empty()) {
        return appdata;
    }
    if (std::string xdg = environment("XDG_DATA_HOME"); !xdg.empty()) {
        return xdg;
    }
    return std::filesystem::path(homeFolder()) / ".local" / "share";
}

std::filesystem::path AppPaths::dataFolder() {
    return appDataFolder() / "TavroHistory";
}

bool AppPaths::ensureDataFolder() {
    const std::filesystem::path folder = dataFolder();
    std::error_code error;
    std::filesystem::create_directories(folder.parent_path(), error);
    // Created private from the start, so its content is never readable by others.
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    // The folder holds bank passwords: narrow a looser mode left by an older copy or by hand.
    if ((info.st_mode & 07777) != 0700) {
        ::chmod(folder.c_str(), 0700);
    }
    return true;
}

std::filesystem::path AppPaths::settingsFile() {
    return dataFolder() / "TavroHistory.config";
}

std::filesystem::path AppPaths::databaseFile() {
    return dataFolder() / "masterDatabase.sq3";
}

std::u16string AppPaths::databaseFileU16() {
    const std::filesystem::path file = databaseFile();
    if (std::optional<std::u16string> text = pathText(file)) {
        return *std::move(text);
    }
    // No text names this file: a folder on its path has a name that is not in the system's
    // encoding (UTF-8), and the database layer takes text. It reaches the file through an open
    // descriptor of its folder instead, whose name under /proc is plain ASCII.
    const std::u16string folder = folderAlias(file.parent_path());
    if (folder.empty()) {
        // The folder is missing: a name that never opens, as the folder's own would not.
        return u"/proc/self/fd/-1/" + file.filename().u16string();
    }
    return folder + u"/" + file.filename().u16string();
}
