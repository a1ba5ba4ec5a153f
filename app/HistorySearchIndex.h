#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "HistoryEntries.h"

// What the filters need from every entry, prepared once per reload so that a keystroke only
// scans memory: the lower-cased titles of all entries, the lower-cased texts of the pool
// (among them every counterparty name, each once), and the month ("%Y%m" of the local booking
// date, as yyyymm) of each entry. The titles are kept in two parts, built and scanned by two
// threads.
class HistorySearchIndex {
public:
    // The texts of one part, each followed by a separator.
    struct Part {
        std::vector<char16_t> text;
        std::vector<uint32_t> start;  // of each text; one more at the end
        size_t first = 0;             // entry (or pool number) of the first text
    };

    void clear();
    // Replaces the index by one of the entries, in their order.
    void build(const HistoryEntries& entries);

    size_t size() const { return m_month.size(); }
    int32_t monthKey(size_t entry) const { return m_month[entry]; }

    // hits[i] becomes 1 for every entry whose counterparty name or title contains needle
    // (lower-cased already, see lowered()), else 0.
    void findMatches(const HistoryEntries& entries, const QString& needle,
                     std::vector<uint8_t>& hits) const;
    // nameHits[n] becomes 1 for every pool text n that contains needle.
    void findPoolMatches(const QString& needle, std::vector<uint8_t>& nameHits) const;
    // Whether the title of one entry contains needle.
    bool titleContains(size_t entry, const QString& needle) const;

    // The form in which texts and needles are compared: QString::toLower, with a zero
    // character replaced (zeros separate the texts in the index).
    static QString lowered(const QString& text);
    // Appends lowered(text) to out, without a temporary string in the common cases.
    static void appendLowered(std::vector<char16_t>& out, QStringView text);
    // yyyymm of the local date of a time value; 0 when it has no local date.
    static int32_t monthOf(int64_t time);

private:
    void buildTitles(const HistoryEntries& entries, size_t first, size_t end, Part& part);

    std::vector<Part> m_titles;
    Part m_pool;
    std::vector<int32_t> m_month;
};
