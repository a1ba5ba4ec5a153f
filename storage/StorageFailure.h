// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What a storage failure means to the user, from SQLite's result code.
namespace StorageFailure {

// One Polish sentence naming the cause: a full disk, an I/O error, a file held by another
// program, a damaged file, no access, or any other database error.
std::u16string Reason(int sqliteCode);

// The file is damaged or is not a database: it must be left exactly as it is.
bool IsDamage(int sqliteCode);

// Another program holds a lock on the file.
bool IsBusy(int sqliteCode);

}  // namespace StorageFailure
