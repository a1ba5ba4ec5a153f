// SPDX-License-Identifier: GPL-3.0-or-later
#include "connection.h"

#include <sqlite3.h>

#include <filesystem>

#include "command.h"
#include "database_error.h"

namespace sqlite3x {

connection::~connection() {
    if (m_db) {
        sqlite3_close(m_db);
    }
}

namespace {

// Through a named VFS the file is opened as sqlite3_open16 would open it: read-write, created
// when missing, with UTF-16 text in a new file.
int openThrough(const std::u16string& path, const char* vfs, sqlite3** db) {
    const std::string utf8 = std::filesystem::path(path).string();
    const int result =
        sqlite3_open_v2(utf8.c_str(), db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, vfs);
    if (result == SQLITE_OK) {
        return sqlite3_exec(*db, "PRAGMA encoding='UTF-16'", nullptr, nullptr, nullptr);
    }
    return result;
}

}  // namespace

void connection::open(const std::u16string& path, const char* vfs) {
    sqlite3* db = nullptr;
    const int result = vfs ? openThrough(path, vfs, &db) : sqlite3_open16(path.c_str(), &db);
    if (result != SQLITE_OK) {
        // SQLite hands back a handle even on failure; it must be released.
        const int code = db ? sqlite3_extended_errcode(db) : result;
        sqlite3_close(db);
        throw database_error("unable to open database", code);
    }
    // Another program holding the file (the sqlite3 shell in a transaction, a backup tool) is
    // waited for a few seconds, then the statement fails with SQLITE_BUSY instead of hanging.
    sqlite3_busy_timeout(db, kBusyMilliseconds);
    if (m_db) {
        // Opening again must not leak the previous handle; close_v2 waits for its statements.
        sqlite3_close_v2(m_db);
    }
    m_db = db;
}

void connection::open_read_only(const std::string& path, int busyMilliseconds) {
    sqlite3* db = nullptr;
    // Each read-only connection here is used by one thread only: no mutex around every call.
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
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

bool connection::in_transaction() const {
    return m_db && sqlite3_get_autocommit(m_db) == 0;
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
