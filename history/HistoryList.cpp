// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryList.h"

#include <algorithm>
#include <cstring>

#include "HistoryPreload.h"
#include "HistoryReader.h"
#include "HugePageAllocator.h"
#include "Schema.h"

void HistoryList::read(sqlite3x::connection& con, const char* query, HistoryPreload* preload) {
    clear();
    if (preload != nullptr) {
        prepareRows(static_cast<size_t>(std::max(preload->expectedRows(), 0)));
    }
    try {
        if (std::strcmp(query, Schema::kSelectHistory) != 0 || preload == nullptr ||
            !preload->take(m_entries)) {
            HistoryReader::Read(con, query, m_entries);
        }
    } catch (...) {
        // A half-read list would show wrong totals.
        m_entries.clear();
        throw;
    }
    // At start-up two threads lowering titles would slow the first showing of the list.
    m_index.build(
        m_entries, HistorySearchIndex::kSplitAbove,
        preload != nullptr ? HistorySearchIndex::Titles::Later : HistorySearchIndex::Titles::Now);
}

void HistoryList::prepareRows(size_t count) {
    m_spareRows.reserve(count);
    const size_t bytes = m_spareRows.capacity() * sizeof(int32_t);
    HugePages::faultIn(m_spareRows.data(), bytes);
}

void HistoryList::assign(HistoryEntries entries) {
    clear();
    m_entries = std::move(entries);
    m_index.build(m_entries);
}

void HistoryList::clear() {
    m_valid = false;
    m_result = {};
    m_spareRows = {};
    // The index first: it may still be reading the entries.
    m_index.clear();
    m_entries.clear();
}

std::optional<FilterResult> HistoryList::filter(const FilterValues& values, int64_t now) const {
    // Start-up sets the controls after the first list; the same list is not made twice.
    if (m_valid && HistoryFilter::SameList(m_values, m_now, values, now)) {
        return std::nullopt;
    }
    const bool narrow = m_valid && HistoryFilter::Narrows(m_values, m_now, values, now);
    return HistoryFilter::Run(m_entries, m_index, values, now, narrow ? &m_result.rows : nullptr,
                              std::move(m_spareRows));
}

void HistoryList::show(FilterResult result, const FilterValues& values, int64_t now) {
    m_spareRows = std::move(m_result.rows);
    m_result = std::move(result);
    m_values = values;
    m_now = now;
    m_valid = true;
}
