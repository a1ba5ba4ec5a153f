// SPDX-License-Identifier: GPL-3.0-or-later
#include "StorageFailure.h"

#include <sqlite3.h>

namespace StorageFailure {

bool IsDamage(int sqliteCode) {
    const int primary = sqliteCode & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool IsBusy(int sqliteCode) {
    const int primary = sqliteCode & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

std::u16string Reason(int sqliteCode) {
    if (IsDamage(sqliteCode)) {
        return u"Plik bazy danych jest uszkodzony albo nie jest bazą danych programu.";
    }
    if (IsBusy(sqliteCode)) {
        return u"Plik bazy danych jest zablokowany przez inny program.";
    }
    switch (sqliteCode & 0xff) {
        case SQLITE_FULL:
            return u"Brak miejsca na dysku.";
        case SQLITE_IOERR:
            return u"Błąd odczytu lub zapisu pliku bazy danych.";
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
        case SQLITE_AUTH:
            return u"Brak dostępu do pliku bazy danych.";
        default:
            return u"Błąd bazy danych.";
    }
}

}  // namespace StorageFailure
