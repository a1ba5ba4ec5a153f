// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

namespace sqlite3x {

// Owns one SQLite database handle. One connection may be shared by several threads:
// SQLite runs in serialised mode and orders the calls.
class connection {
public:
    static constexpr int kBusyMilliseconds = 3000;

    connection() = default;
    ~connection();
    connection(const connection&) = delete;
    connection& operator=(const connection&) = delete;

    // Opens through SQLite's default file layer unless a registered VFS is named (tests
    // inject storage faults that way). Waits up to kBusyMilliseconds for another program's lock.
    void open(const std::u16string& path, const char* vfs = nullptr);
    // An existing file, for reading only: nothing is created or changed, so it may be read while
    // the program holds it. A writer in the middle of its commit is waited for up to
    // `busyMilliseconds`. The connection must be used by one thread at a time.
    void open_read_only(const std::string& path, int busyMilliseconds);
    void close();
    bool is_open() const { return m_db != nullptr; }
    // A transaction is open: begun and neither committed nor rolled back (by the program or,
    // after some errors, by SQLite itself).
    bool in_transaction() const;

    void execute(const std::string& sql);
    int32_t execute_int(const std::string& sql);

    sqlite3* handle() const { return m_db; }

private:
    void ensureOpen() const;

    sqlite3* m_db = nullptr;
};

}  // namespace sqlite3x
