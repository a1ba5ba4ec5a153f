// SPDX-License-Identifier: GPL-3.0-or-later
#include "SecureDelete.h"

#include "sqlite3x.h"

SecureDelete::SecureDelete(sqlite3x::connection& con) : m_con(con) {
    m_previous = m_con.execute_int("PRAGMA secure_delete");
    m_con.execute_int("PRAGMA secure_delete=1");
}

SecureDelete::~SecureDelete() {
    try {
        m_con.execute_int(m_previous != 0 ? "PRAGMA secure_delete=1" : "PRAGMA secure_delete=0");
    } catch (...) {
        // A closed connection forgets the setting anyway.
    }
}
