// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

struct sqlite3_stmt;

namespace sqlite3x {

class connection;
class reader;

// Owns one prepared statement. The connection must outlive the command, and every
// reader must be closed before the command is destroyed.
class command {
public:
    command(connection& con, const char* sql);
    command(connection& con, const std::string& sql);
    command(connection& con, const char16_t* sql);
    command(connection& con, const std::u16string& sql);
    ~command();
    command(const command&) = delete;
    command& operator=(const command&) = delete;

    // Parameter indexes are 1-based. Values are bound, never formatted into the text.
    void bind_double(int index, double value);
    void bind_int(int index, int32_t value);
    void bind_int64(int index, int64_t value);
    void bind_text(int index, const std::u16string& value);

    reader execute_reader();
    void execute();
    int32_t execute_int();

private:
    friend class reader;
    void prepare(const void* sql, int bytes, bool wide);
    void checkBind(int result);
    void readerOpened() { ++m_readers; }
    void readerClosed();

    connection& m_con;
    sqlite3_stmt* m_stmt = nullptr;
    int32_t m_readers = 0;
    int32_t m_columns = 0;
};

}  // namespace sqlite3x
