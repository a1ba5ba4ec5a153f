#pragma once

#include "HistoryEntries.h"
#include "sqlite3x.h"

namespace HistoryReader {

// Appends the operations that query lists to entries, in its order, with the account names.
// The full list (Schema::kSelectHistory) is read in the file's order and sorted in memory.
// Throws what SQLite reports.
void Read(sqlite3x::connection& con, const char* query, HistoryEntries& entries);

}  // namespace HistoryReader
