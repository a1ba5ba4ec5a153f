// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup.h"

#include <sqlite3.h>

#include "connection.h"
#include "database_error.h"

namespace sqlite3x {

backup::backup(connection& destination, connection& source) : m_destination(destination) {
    if (!destination.is_open() || !source.is_open()) {
        throw database_error("database is not open");
    }
    m_backup = sqlite3_backup_init(destination.handle(), "main", source.handle(), "main");
    if (m_backup == nullptr) {
        // The reason is left on the destination connection.
        throw database_error(destination);
    }
}

backup::~backup() {
    if (m_backup) {
        sqlite3_backup_finish(m_backup);
    }
}

backup::state backup::step(int pages) {
    if (!m_backup) {
        throw database_error("backup is finished");
    }
    const int result = sqlite3_backup_step(m_backup, pages);
    switch (result) {
        case SQLITE_OK:
            return state::more;
        case SQLITE_DONE:
            return state::done;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return state::busy;
        default:
            break;
    }
    // The failure stays with the backup; finishing it puts the message on the destination.
    sqlite3_backup_finish(m_backup);
    m_backup = nullptr;
    throw database_error(
        m_destination.handle() ? sqlite3_errmsg(m_destination.handle()) : sqlite3_errstr(result),
        result);
}

int backup::remaining() const {
    return m_backup ? sqlite3_backup_remaining(m_backup) : 0;
}

int backup::page_count() const {
    return m_backup ? sqlite3_backup_pagecount(m_backup) : 0;
}

void backup::finish() {
    if (!m_backup) {
        return;
    }
    const int result = sqlite3_backup_finish(m_backup);
    m_backup = nullptr;
    if (result != SQLITE_OK) {
        throw database_error(m_destination);
    }
}

}  // namespace sqlite3x
