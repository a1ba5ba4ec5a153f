// SPDX-License-Identifier: GPL-3.0-or-later
#include "PasswordMigration.h"

#include <vector>

#include "KeyringReference.h"
#include "KeyringTransfer.h"
#include "SecureDelete.h"
#include "sqlite3x.h"

namespace {

struct Row {
    int64_t rowid = 0;
    StoredLogOn logOn;
};

std::vector<Row> readRows(sqlite3x::connection& con) {
    std::vector<Row> rows;
    sqlite3x::command cmd(con, "SELECT rowid, a_user, a_pass FROM accounts");
    sqlite3x::reader reader = cmd.execute_reader();
    while (reader.read()) {
        rows.push_back({reader.get_int64(0),
                        {QString::fromStdU16String(reader.get_string(1)),
                         QString::fromStdU16String(reader.get_string(2))}});
    }
    reader.close();
    return rows;
}

bool isPlain(const QString& pass) {
    return !pass.isEmpty() && !KeyringReference::isReference(pass);
}

}  // namespace

namespace PasswordMigration {

bool hasPlainPasswords(sqlite3x::connection& con) {
    for (const Row& row : readRows(con)) {
        if (isPlain(row.logOn.pass)) {
            return true;
        }
    }
    return false;
}

bool run(sqlite3x::connection& con, PasswordKeyring& keyring, QString& error) {
    std::vector<Row> rows;
    try {
        rows = readRows(con);
    } catch (const sqlite3x::database_error& e) {
        error = QString::fromUtf8(e.what());
        return false;
    }
    std::vector<StoredLogOn> logOns;
    for (const Row& row : rows) {
        logOns.push_back(row.logOn);
    }
    KeyringTransfer transfer(keyring);
    if (!transfer.moveToKeyring(logOns, error)) {
        return false;
    }
    try {
        SecureDelete secure(con);
        sqlite3x::transaction work(con);
        for (size_t i = 0; i < rows.size(); ++i) {
            if (logOns[i].pass == rows[i].logOn.pass) {
                continue;
            }
            sqlite3x::command update(con, "UPDATE accounts SET a_pass=? WHERE rowid=?");
            update.bind_text(1, logOns[i].pass.toStdU16String());
            update.bind_int64(2, rows[i].rowid);
            update.execute();
        }
        work.commit();
    } catch (const sqlite3x::database_error& e) {
        transfer.undo();
        error = QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

}  // namespace PasswordMigration
