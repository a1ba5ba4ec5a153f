// SPDX-License-Identifier: GPL-3.0-or-later
#include "database_error.h"

#include <sqlite3.h>

#include "connection.h"

namespace sqlite3x {

database_error::database_error(const char* message) : std::runtime_error(message) {}

database_error::database_error(const std::string& message) : std::runtime_error(message) {}

database_error::database_error(const char* message, int code)
    : std::runtime_error(message), m_code(code) {}

database_error::database_error(const connection& con)
    : std::runtime_error(con.handle() ? sqlite3_errmsg(con.handle()) : "database is not open"),
      m_code(con.handle() ? sqlite3_extended_errcode(con.handle()) : 0) {}

}  // namespace sqlite3x
