// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sqlite3x {

class connection;

// Brackets a group of statements; leaving the scope while open rolls the work back.
class transaction {
public:
    explicit transaction(connection& con);
    ~transaction();
    transaction(const transaction&) = delete;
    transaction& operator=(const transaction&) = delete;

    void begin();
    void commit();
    void rollback();
    bool is_open() const { return m_open; }

private:
    connection& m_con;
    bool m_open = false;
};

}  // namespace sqlite3x
