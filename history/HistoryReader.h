// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "HistoryEntries.h"
#include "sqlite3x.h"

namespace HistoryReader {

// Appends the operations that query lists to entries, in its order, with the account names.
// The full list (Schema::kSelectHistory) is read in the file's order and sorted in memory.
// Throws what SQLite reports.
void Read(sqlite3x::connection& con, const char* query, HistoryEntries& entries);

// Appends the operations of the full list whose row numbers lie in [first, last] to entries,
// in the file's order (unsorted), with the account names; room is kept for reserve rows.
void ReadRows(sqlite3x::connection& con, int64_t first, int64_t last, size_t reserve,
              HistoryEntries& entries);

// Appends the operations of the full list whose row numbers lie in the ranges [first, last]
// that `next` hands out until it returns false, each in the file's order, with the account
// names.
void ReadRanges(sqlite3x::connection& con, const std::function<bool(int64_t&, int64_t&)>& next,
                HistoryEntries& entries);

// The highest row number of the list (0 when it is empty).
int32_t HighestRow(sqlite3x::connection& con);

}  // namespace HistoryReader
