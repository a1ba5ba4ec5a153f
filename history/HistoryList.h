// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include "HistoryEntries.h"
#include "HistoryFilter.h"
#include "HistorySearchIndex.h"

class HistoryPreload;
namespace sqlite3x {
class connection;
}

// What the operation list shows, without any window: the entries, their search index, the last
// filter pass (rows, totals, months) and the filter values it was made with. It decides whether
// new values list the same rows, narrow the last ones or need a full pass, so the main window
// only renders what it is given.
class HistoryList {
public:
    HistoryList() = default;
    HistoryList(const HistoryList&) = delete;
    HistoryList& operator=(const HistoryList&) = delete;

    const HistoryEntries& entries() const { return m_entries; }
    const HistorySearchIndex& index() const { return m_index; }
    // The last pass; its rows are what the list shows.
    const FilterResult& result() const { return m_result; }

    // Replaces the entries by the rows the query lists: the full list from the read-ahead
    // when it has read it, else from the connection. Throws what SQLite reports, leaving the
    // list empty. With a read-ahead (the program's start), the titles are lowered for the
    // search only from prepareSearch() on, or when a search first needs them.
    void read(sqlite3x::connection& con, const char* query, HistoryPreload* preload);
    // Starts lowering the titles for the search, if that has not started.
    void prepareSearch() const { m_index.startTitles(); }
    // Replaces the entries (tests and tools).
    void assign(HistoryEntries entries);
    // No entries, no rows.
    void clear();

    // The pass the values give at `now` (local time), narrowing the last rows where a longer
    // search text allows it; nothing when the list would be the one shown.
    std::optional<FilterResult> filter(const FilterValues& values, int64_t now) const;
    // Makes a pass the one shown.
    void show(FilterResult result, const FilterValues& values, int64_t now);

private:
    // Room for the first pass's rows, faulted in while the read-ahead still reads: the pass
    // would fault in a million rows' 4 MB on the way to the list's first showing.
    void prepareRows(size_t count);

    HistoryEntries m_entries;
    HistorySearchIndex m_index;
    FilterResult m_result;
    // The rows of the pass before the one shown, kept for the next pass to write into: a
    // million rows in fresh memory cost the keystroke a page fault every 4 KiB.
    mutable std::vector<int32_t> m_spareRows;
    FilterValues m_values;
    int64_t m_now = 0;
    bool m_valid = false;  // m_result was made from m_values at m_now
};
