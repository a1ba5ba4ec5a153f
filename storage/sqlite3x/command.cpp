// SPDX-License-Identifier: GPL-3.0-or-later
#include "command.h"

#include <sqlite3.h>

#include <cstring>

#include "connection.h"
#include "database_error.h"
#include "reader.h"

namespace sqlite3x {

command::command(connection& con, const char* sql) : m_con(con) {
    prepare(sql, -1, false);
}

command::command(connection& con, const std::string& sql) : m_con(con) {
    prepare(sql.data(), static_cast<int>(sql.size()), false);
}

command::command(connection& con, const char16_t* sql) : m_con(con) {
    prepare(sql, -1, true);
}

command::command(connection& con, const std::u16string& sql) : m_con(con) {
    prepare(sql.data(), static_cast<int>(sql.size() * 2), true);
}

command::~command() {
    sqlite3_finalize(m_stmt);
}

// The _v2 forms re-prepare a statement after a schema change and make a failed step
// report its real cause through sqlite3_errmsg.
void command::prepare(const void* sql, int bytes, bool wide) {
    if (!m_con.handle()) {
        throw database_error("database is not open");
    }
    const int result = wide ? sqlite3_prepare16_v2(m_con.handle(), sql, bytes, &m_stmt, nullptr)
                            : sqlite3_prepare_v2(m_con.handle(), static_cast<const char*>(sql),
                                                 bytes, &m_stmt, nullptr);
    if (result != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw database_error(m_con);
    }
    m_columns = sqlite3_column_count(m_stmt);
}

void command::checkBind(int result) {
    if (result != SQLITE_OK) {
        throw database_error(m_con);
    }
}

void command::bind_double(int index, double value) {
    checkBind(sqlite3_bind_double(m_stmt, index, value));
}

void command::bind_int(int index, int32_t value) {
    checkBind(sqlite3_bind_int(m_stmt, index, value));
}

void command::bind_int64(int index, int64_t value) {
    checkBind(sqlite3_bind_int64(m_stmt, index, value));
}

void command::bind_text(int index, const std::u16string& value) {
    // Length in bytes, so embedded zero characters are kept.
    checkBind(sqlite3_bind_text16(m_stmt, index, value.data(),
                                  static_cast<int>(value.size() * sizeof(char16_t)),
                                  SQLITE_TRANSIENT));
}

reader command::execute_reader() {
    return reader(*this);
}

void command::execute() {
    reader r = execute_reader();
    r.read();
    r.close();
}

int32_t command::execute_int() {
    reader r = execute_reader();
    if (!r.read()) {
        throw database_error("nothing to read");
    }
    return r.get_int(0);
}

void command::readerClosed() {
    if (--m_readers == 0) {
        sqlite3_reset(m_stmt);
    }
}

}  // namespace sqlite3x
