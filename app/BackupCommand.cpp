// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackupCommand.h"

#include <QString>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AppPaths.h"
#include "sqlite3x.h"

namespace {

// A step copies this many pages (256 KiB of 4 KiB pages) under the source's read lock; the
// program's writes go through between steps.
constexpr int kPagesPerStep = 64;
constexpr int kBusyMilliseconds = 5000;
// While another connection holds the file, try again this often, for up to half a minute.
constexpr auto kBusyPause = std::chrono::milliseconds(20);
constexpr int kBusyTries = 1500;

class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool nameTaken(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;  // a dangling link is taken as well
}

// The copy under a temporary name beside the target (so the last step is a rename in one
// folder); removed with SQLite's journal unless it was moved to its name.
class TemporaryCopy {
public:
    explicit TemporaryCopy(const std::filesystem::path& target) {
        const std::filesystem::path folder =
            target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
        std::string name = ".";
        name += target.filename().string();
        name += ".XXXXXX";
        std::string temp = (folder / name).string();
        const int fd = ::mkstemp(temp.data());  // mode 0600
        if (fd >= 0) {
            ::close(fd);
            m_path = temp;
        }
    }
    ~TemporaryCopy() {
        if (!m_path.empty()) {
            ::unlink(m_path.c_str());
            ::unlink((m_path + "-journal").c_str());
        }
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    bool created() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }

    // Gives the copy its name unless something took that name meanwhile (EEXIST).
    int moveTo(const std::filesystem::path& target) {
        int result =
            ::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
        if (result != 0 && errno == EINVAL) {
            // A file system without that kind of rename: a hard link fails on an existing name
            // just the same.
            result = ::link(m_path.c_str(), target.c_str());
            if (result == 0) {
                ::unlink(m_path.c_str());
            }
        }
        if (result != 0) {
            return errno;
        }
        m_path.clear();
        return 0;
    }

private:
    std::string m_path;
};

std::string utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

void copyDatabase(const std::filesystem::path& database, const std::string& copy) {
    sqlite3x::connection source;
    source.open_read_only(database.string(), kBusyMilliseconds);
    sqlite3x::connection destination;
    destination.open(std::filesystem::path(copy).u16string());
    sqlite3x::backup backup(destination, source);
    int busyTries = 0;
    for (;;) {
        const sqlite3x::backup::state state = backup.step(kPagesPerStep);
        if (state == sqlite3x::backup::state::done) {
            break;
        }
        if (state == sqlite3x::backup::state::more) {
            busyTries = 0;
            continue;
        }
        if (++busyTries > kBusyTries) {
            throw CommandError("Baza danych jest zajęta przez inny program: " + database.string() +
                               ". Spróbuj ponownie później.");
        }
        std::this_thread::sleep_for(kBusyPause);
    }
    backup.finish();
    destination.close();
}

// The first line SQLite's full check reports; "ok" for a sound file.
std::string integrityOf(const std::string& copy) {
    sqlite3x::connection check;
    check.open_read_only(copy, kBusyMilliseconds);
    sqlite3x::command cmd(check, "PRAGMA integrity_check(1)");
    sqlite3x::reader reader = cmd.execute_reader();
    std::string verdict = reader.read() ? utf8(reader.get_string(0)) : std::string("brak wyniku");
    std::replace(verdict.begin(), verdict.end(), '\n', ' ');  // the message stays one line
    return verdict;
}

void backupTo(const std::filesystem::path& target) {
    const std::string name = target.string();
    if (nameTaken(target)) {
        throw CommandError("Plik już istnieje: " + name + " (kopia nie zastępuje plików).");
    }
    const std::filesystem::path database = AppPaths::databaseFile();
    std::error_code error;
    if (!std::filesystem::is_regular_file(database, error)) {
        throw CommandError("Nie ma bazy danych: " + database.string());
    }
    TemporaryCopy copy(target);
    if (!copy.created()) {
        throw CommandError("Nie można zapisać pliku: " + name);
    }
    try {
        copyDatabase(database, copy.path());
    } catch (const sqlite3x::database_error& failure) {
        throw CommandError("Błąd kopiowania bazy danych " + database.string() + " do pliku " +
                           name + ": " + failure.what());
    }
    std::string verdict;
    try {
        verdict = integrityOf(copy.path());
    } catch (const sqlite3x::database_error& failure) {
        verdict = failure.what();
    }
    if (verdict != "ok") {
        throw CommandError("Kopia nie przeszła sprawdzenia, baza danych " + database.string() +
                           " może być uszkodzona: " + verdict);
    }
    if (const int failure = copy.moveTo(target); failure != 0) {
        throw CommandError(failure == EEXIST ? "Plik już istnieje: " + name
                                             : "Nie można zapisać pliku: " + name);
    }
}

}  // namespace

int BackupCommand::Run(const std::string& file, std::ostream& err) {
    try {
        backupTo(file);
        return 0;
    } catch (const CommandError& failure) {
        err << "tavro: " << failure.what() << '\n';
    } catch (const std::exception& failure) {
        err << "tavro: Błąd: " << failure.what() << '\n';
    }
    return 1;
}
