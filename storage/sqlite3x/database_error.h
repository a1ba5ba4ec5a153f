// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace sqlite3x {

class connection;

// Every failure of the access layer; the text is fixed or comes from SQLite.
class database_error : public std::runtime_error {
public:
    explicit database_error(const char* message);
    explicit database_error(const std::string& message);
    database_error(const char* message, int code);
    // Takes the connection's current SQLite error message and extended result code.
    explicit database_error(const connection& con);

    // SQLite's extended result code (SQLITE_FULL, SQLITE_IOERR_WRITE, ...); 0 for a fixed text.
    int code() const { return m_code; }

private:
    int m_code = 0;
};

}  // namespace sqlite3x
