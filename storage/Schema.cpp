// SPDX-License-Identifier: GPL-3.0-or-later
#include "Schema.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "DatabaseCheck.h"
#include "sqlite3x.h"

namespace Schema {
namespace {

// The file holds bank passwords: only its owner may read it.
void createPrivateFile(const std::u16string& path) {
    const int fd =
        ::open(std::filesystem::path(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
    }
}

}  // namespace

// A damaged file is refused before anything is written to it, so that the user can recover it
// as it is. quick_check reads every page once; the list that start-up fills reads them anyway.
void RefuseDamagedFile(sqlite3x::connection& con) {
    sqlite3x::command check(con, "PRAGMA quick_check(1)");
    sqlite3x::reader answer = check.execute_reader();
    if (!answer.read() || answer.get_string(0) != u"ok") {
        throw sqlite3x::database_error("database disk image is malformed", SQLITE_CORRUPT);
    }
}

void ClearOperations(sqlite3x::connection& con) {
    sqlite3x::transaction transaction(con);
    con.execute(kDeleteAllTransactions);
    if (con.execute_int(kImportKeysExist) != 0) {
        DropRetiredMatchIndex(con);
        con.execute(kDeleteAllImportKeys);
        con.execute(kDeleteAllImportBatches);
    }
    transaction.commit();
}

void DropRetiredMatchIndex(sqlite3x::connection& con) {
    if (con.execute_int(kRetiredMatchIndexExists) != 0) {
        con.execute(kDropRetiredMatchIndex);
    }
}

void OpenDatabase(sqlite3x::connection& con, const std::u16string& path, const ConsoleLine& console,
                  DatabaseCheck* deferredCheck) {
    console(u"Wchodzę w sekcję krytyczną");
    createPrivateFile(path);
    con.open(path);
    const bool tablesThere = con.execute_int(kAccountsExist) != 0;
    const bool indexThere = tablesThere && con.execute_int(kStartIndexesExist) == 2;
    // A file that needs nothing written can be checked once the caller has read it.
    if (deferredCheck != nullptr && indexThere) {
        deferredCheck->defer(path);
        console(u"Opuszczam sekcję krytyczną");
        return;
    }
    RefuseDamagedFile(con);
    if (!tablesThere) {
        con.execute(kCreateAccounts);
        con.execute(kCreateTransactions);
    }
    try {
        con.execute(kCreateOperationIndex);
        con.execute(kCreateOperationDateIndex);
    } catch (const sqlite3x::database_error&) {
        // A file whose transactions table is missing or foreign works as before, only slower.
    }
    console(u"Opuszczam sekcję krytyczną");
}

}  // namespace Schema
