// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "HistoryEntries.h"

class HistorySearchIndex;

// The values of the main window's filter controls.
struct FilterValues {
    int32_t operations = 0;  // "Operacje:": 0 all, 1 credits, 2 debits
    int32_t timeRange = 0;   // "Czas:" index 0..8
    bool accountActive = false;
    QString account;   // own account number that entries must have, when active
    int32_t kind = 0;  // "Typ operacji:" index; 0 lists every kind
    QString search;
    bool negate = false;  // "Nie zawierające ciągu"
    int64_t from = 0;     // "Od:"
    int64_t to = 0;       // "Do:"
};

// Booking dates from lower to upper, both included.
struct TimeRange {
    bool active = false;
    int64_t lower = 0;
    int64_t upper = 0;
};

// Credits and debits (a positive number) of the listed operations of one month.
struct MonthTotals {
    int32_t key = 0;  // yyyymm
    double credits = 0.0;
    double debits = 0.0;
};

struct FilterResult {
    std::vector<int32_t> rows;  // indexes of the listed entries, in list order
    int32_t listed = 0;
    int32_t debitCount = 0;
    int32_t creditCount = 0;
    double net = 0.0;
    double debitSum = 0.0;  // negative: the amounts as stored
    double creditSum = 0.0;
    std::vector<MonthTotals> months;  // ascending by key
};

struct GraphPoint {
    double income = 0.0;
    double outgo = 0.0;
    QString label;
};

namespace HistoryFilter {

// The range of "Czas:" item index at the moment now (local time).
TimeRange ComputeTimeRange(int32_t index, int64_t now, int64_t from, int64_t to);

// Lists the entries that pass every filter, with their totals. With within, only those
// entries (in that order) are tested: a narrower search text needs to look only at what the
// previous one listed. The rows are written into `buffer` (any content), reusing its memory.
FilterResult Run(const HistoryEntries& entries, const HistorySearchIndex& index,
                 const FilterValues& values, int64_t now,
                 const std::vector<int32_t>* within = nullptr, std::vector<int32_t> buffer = {});

// Whether `next` (at nextNow) lists a subset of what `previous` (at previousNow) listed
// because only the search text grew at its end (without "Nie zawierające ciągu").
bool Narrows(const FilterValues& previous, int64_t previousNow, const FilterValues& next,
             int64_t nextNow);

// Whether `next` (at nextNow) lists exactly what `previous` (at previousNow) listed.
bool SameList(const FilterValues& previous, int64_t previousNow, const FilterValues& next,
              int64_t nextNow);

// Month points for the graph, with empty points where months are missing within a year.
std::vector<GraphPoint> GraphPoints(const std::vector<MonthTotals>& months);

// The status label's totals line and the graph's caption.
QString TotalsLine(const FilterResult& result);
QString GraphCaption(const FilterResult& result);

// "%01.2f" and "%.1f" / "%.2f" with a decimal comma.
QString FormatAmount(double value);
QString FormatFixed(double value, int decimals);

}  // namespace HistoryFilter
