// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sqlite3x {
class connection;
}

// While it lives, SQLite overwrites deleted and replaced content with zeros, so a password that
// leaves the table does not stay readable in free space of the file.
class SecureDelete {
public:
    explicit SecureDelete(sqlite3x::connection& con);
    ~SecureDelete();
    SecureDelete(const SecureDelete&) = delete;
    SecureDelete& operator=(const SecureDelete&) = delete;

private:
    sqlite3x::connection& m_con;
    int m_previous = 0;
};
