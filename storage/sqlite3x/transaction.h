// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sqlite3x {

class connection;

// Brackets a group of statements; leaving the scope while open rolls the work back. Begun while
// another transaction is open, it is a savepoint inside it: its commit keeps the work for the
// outer one to commit, its rollback undoes only its own work.
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
    bool is_nested() const { return m_nested; }

private:
    connection& m_con;
    bool m_open = false;
    bool m_nested = false;
};

}  // namespace sqlite3x
