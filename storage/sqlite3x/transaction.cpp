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
    m_con.execute("begin;");
    m_open = true;
}

void transaction::commit() {
    m_con.execute("commit;");
    m_open = false;
}

void transaction::rollback() {
    m_open = false;
    m_con.execute("rollback;");
}

}  // namespace sqlite3x
