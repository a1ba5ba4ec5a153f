#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

namespace sqlite3x {

// Owns one SQLite database handle. One connection may be shared by several threads:
// SQLite runs in serialised mode and orders the calls.
class connection {
public:
    connection() = default;
    ~connection();
    connection(const connection&) = delete;
    connection& operator=(const connection&) = delete;

    void open(const std::u16string& path);
    // An existing file, for reading only: nothing is created or changed, so it may be read while
    // the program holds it. A writer in the middle of its commit is waited for up to
    // `busyMilliseconds`.
    void open_read_only(const std::string& path, int busyMilliseconds);
    void close();
    bool is_open() const { return m_db != nullptr; }

    void execute(const std::string& sql);
    int32_t execute_int(const std::string& sql);

    sqlite3* handle() const { return m_db; }

private:
    void ensureOpen() const;

    sqlite3* m_db = nullptr;
};

}  // namespace sqlite3x
