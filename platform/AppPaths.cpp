#include "AppPaths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
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

std::u16string toUtf16(const std::string& utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += static_cast<size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
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
    return toUtf16(databaseFile().string());
}
