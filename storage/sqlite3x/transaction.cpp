// SPDX-License-Identifier: GPL-3.0-or-later
#include "transaction.h"

#include "connection.h"

namespace sqlite3x {

transaction::transaction(connection& con) : m_con(con) {
    begin();
}

transaction::~transaction() {
    if (m_open) {
        try {
            rollback();
        } catch (...) {
            // A destructor must not throw; SQLite rolls back by itself when it cannot.
        }
    }
}

void transaction::begin() {
    m_nested = m_con.in_transaction();
    m_con.execute(m_nested ? "savepoint sqlite3x_nested;" : "begin;");
    m_open = true;
}

void transaction::commit() {
    m_con.execute(m_nested ? "release sqlite3x_nested;" : "commit;");
    m_open = false;
}

void transaction::rollback() {
    m_open = false;
    if (m_nested) {
        // Savepoints of one name stack: this undoes and ends the innermost one.
        m_con.execute("rollback to sqlite3x_nested;");
        m_con.execute("release sqlite3x_nested;");
    } else {
        m_con.execute("rollback;");
    }
}

}  // namespace sqlite3x
