#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "HistoryEntry.h"

// What the filters need from every entry, prepared once per reload so that a keystroke only
// scans memory: the lower-cased counterparty name and title of all entries in one buffer,
// and the month ("%Y%m" of the local booking date, as yyyymm) of each entry.
class HistorySearchIndex {
public:
    void clear();
    // Replaces the index by one of the entries, in their order.
    void build(const std::vector<HistoryEntry>& entries);
    // Appends one entry.
    void add(const HistoryEntry& entry);

    size_t size() const { return m_month.size(); }
    int32_t monthKey(size_t entry) const { return m_month[entry]; }

    // hits[i] becomes 1 for every entry whose name or title contains needle (lower-cased
    // already, see lowered()), else 0.
    void findMatches(const QString& needle, std::vector<uint8_t>& hits) const;

    // The form in which texts and needles are compared: QString::toLower, with a zero
    // character replaced (zeros separate the texts in the index).
    static QString lowered(const QString& text);
    // Appends lowered(text) to out, without a temporary string in the common cases.
    static void appendLowered(std::vector<char16_t>& out, const QString& text);
    // yyyymm of the local date of a time value; 0 when it has no local date.
    static int32_t monthOf(int64_t time);

private:
    std::vector<char16_t> m_text;   // per entry: name, separator, title, separator
    std::vector<uint32_t> m_start;  // start of each entry's text in m_text
    std::vector<int32_t> m_month;
    int64_t m_lastTime = 0;  // the entries come sorted by date: reuse the last month
    int32_t m_lastMonth = -1;
};
