// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatabaseCheck.h"

#include <sqlite3.h>

#include <filesystem>

#include "Schema.h"
#include "sqlite3x.h"

DatabaseCheck::~DatabaseCheck() {
    result();
}

void DatabaseCheck::start(const std::u16string& path) {
    result();
    m_thread = std::thread([this, path] {
        try {
            sqlite3x::connection con;
            con.open_read_only(std::filesystem::path(path).string(),
                               sqlite3x::connection::kBusyMilliseconds);
            Schema::RefuseDamagedFile(con);
        } catch (const sqlite3x::database_error& error) {
            m_result = error.code() != 0 ? error.code() : SQLITE_ERROR;
        } catch (const std::exception&) {
            m_result = SQLITE_ERROR;
        }
    });
}

int DatabaseCheck::result() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return m_result;
}
