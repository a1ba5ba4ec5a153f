// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatabaseCheck.h"

#include <sqlite3.h>

#include <filesystem>

#include "Schema.h"
#include "sqlite3x.h"

// A check that never started is not run only to be thrown away.
DatabaseCheck::~DatabaseCheck() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

int DatabaseCheck::check(const std::u16string& path) {
    try {
        sqlite3x::connection con;
        con.open_read_only(std::filesystem::path(path).string(),
                           sqlite3x::connection::kBusyMilliseconds);
        Schema::RefuseDamagedFile(con);
        return 0;
    } catch (const sqlite3x::database_error& error) {
        return error.code() != 0 ? error.code() : SQLITE_ERROR;
    } catch (const std::exception&) {
        return SQLITE_ERROR;
    }
}

void DatabaseCheck::defer(const std::u16string& path) {
    result();
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_path = path;
    m_result = 0;
}

void DatabaseCheck::start(Finished finished) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_thread.joinable()) {
        return;
    }
    if (!m_path) {
        // Nothing deferred: the verdict is known (or the file was checked as it opened).
        if (finished) {
            finished(m_result);
        }
        return;
    }
    m_thread = std::thread([this, path = *m_path, finished = std::move(finished)] {
        const int verdict = check(path);
        m_result = verdict;  // read only after the thread has been joined
        if (finished) {
            finished(verdict);
        }
    });
    m_path.reset();
}

int DatabaseCheck::result() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_path) {
        m_result = check(*m_path);
        m_path.reset();
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return m_result;
}

void DatabaseCheck::guardWrites(sqlite3x::connection& con) {
    sqlite3_set_authorizer(con.handle(), &DatabaseCheck::authorize, this);
}

int DatabaseCheck::authorize(void* self, int action, const char*, const char*, const char*,
                             const char*) {
    switch (action) {
        case SQLITE_INSERT:
        case SQLITE_UPDATE:
        case SQLITE_DELETE:
        case SQLITE_CREATE_INDEX:
        case SQLITE_CREATE_TABLE:
        case SQLITE_CREATE_TRIGGER:
        case SQLITE_CREATE_VIEW:
        case SQLITE_DROP_INDEX:
        case SQLITE_DROP_TABLE:
        case SQLITE_DROP_TRIGGER:
        case SQLITE_DROP_VIEW:
        case SQLITE_ALTER_TABLE:
        case SQLITE_REINDEX:
        case SQLITE_ANALYZE:
            return static_cast<DatabaseCheck*>(self)->result() == 0 ? SQLITE_OK : SQLITE_DENY;
        default:
            return SQLITE_OK;
    }
}
