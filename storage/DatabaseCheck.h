// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace sqlite3x {
class connection;
}

// The whole-file check that refuses a damaged database, run on a read-only connection of its
// own. Start-up defers it until the list has painted, so that it does not compete with the list's
// reading; nothing may be written to the file before the verdict, which guardWrites() makes sure
// of on the connection that writes.
class DatabaseCheck {
public:
    // Called on the check's thread with the verdict (0: sound, else SQLite's code).
    using Finished = std::function<void(int)>;

    DatabaseCheck() = default;
    ~DatabaseCheck();
    DatabaseCheck(const DatabaseCheck&) = delete;
    DatabaseCheck& operator=(const DatabaseCheck&) = delete;

    // Remembers the file; the check runs from start(), or from the first result() before that.
    void defer(const std::u16string& path);
    // Starts the deferred check on its own thread; with none to run, tells `finished` the verdict
    // at once, here.
    void start(Finished finished = {});
    // Waits for the check, running it here when it has not started: 0 when the file is sound
    // (or no check was deferred), else SQLite's code. Any thread may ask.
    int result();
    // Every statement prepared on `con` that would change the file waits for the verdict, and is
    // refused (not authorised) when the file is damaged. Reading never waits.
    void guardWrites(sqlite3x::connection& con);

private:
    static int authorize(void* self, int action, const char*, const char*, const char*,
                         const char*);
    static int check(const std::u16string& path);

    std::mutex m_mutex;
    std::optional<std::u16string> m_path;  // deferred and not started yet
    std::thread m_thread;
    int m_result = 0;
};
