#include "connection.h"

#include <sqlite3.h>

#include "command.h"
#include "database_error.h"

namespace sqlite3x {

connection::~connection() {
    if (m_db) {
        sqlite3_close(m_db);
    }
}

void connection::open(const std::u16string& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open16(path.c_str(), &db) != SQLITE_OK) {
        // SQLite hands back a handle even on failure; it must be released.
        sqlite3_close(db);
        throw database_error("unable to open database");
    }
    if (m_db) {
        // Opening again must not leak the previous handle; close_v2 waits for its statements.
        sqlite3_close_v2(m_db);
    }
    m_db = db;
}

void connection::open_read_only(const std::string& path, int busyMilliseconds) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw database_error("unable to open database");
    }
    sqlite3_busy_timeout(db, busyMilliseconds);
    if (m_db) {
        sqlite3_close_v2(m_db);
    }
    m_db = db;
}

void connection::close() {
    if (!m_db) {
        return;
    }
    if (sqlite3_close(m_db) != SQLITE_OK) {
        throw database_error(*this);
    }
    m_db = nullptr;
}

void connection::ensureOpen() const {
    if (!m_db) {
        throw database_error("database is not open");
    }
}

void connection::execute(const std::string& sql) {
    ensureOpen();
    command cmd(*this, sql);
    cmd.execute();
}

int32_t connection::execute_int(const std::string& sql) {
    ensureOpen();
    command cmd(*this, sql);
    return cmd.execute_int();
}

}  // namespace sqlite3x
