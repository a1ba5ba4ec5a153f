// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "CodePage.h"
#include "HistoryEntries.h"
#include "HugePageAllocator.h"

// What the filters need from every entry, prepared once per reload so that a keystroke only
// scans memory: the lower-cased titles of all entries, the lower-cased texts of the pool
// (among them every counterparty name, each once), and the month ("%Y%m" of the local booking
// date, as yyyymm) of each entry. The titles are kept in two parts, built and scanned by two
// threads. When the entries keep every title in one-byte codes, the lower-cased titles are
// one-byte codes too (of the index's own code page).
class HistorySearchIndex {
public:
    // The texts of one part, each followed by a separator: in UTF-16, or in one-byte codes
    // (then with TitleScan::kPadding more separators after the last).
    struct Part {
        HugeVector<char16_t> text;
        HugeVector<uint8_t> bytes;
        HugeVector<uint32_t> start;  // of each text; one more at the end
        size_t first = 0;            // entry (or pool number) of the first text
    };

    // Below this many entries a second thread costs more than it saves.
    static constexpr size_t kSplitAbove = 250000;

    // Entries [first, end) of a part.
    struct Bounds {
        size_t first = 0;
        size_t end = 0;
    };

    ~HistorySearchIndex() { clear(); }
    void clear();
    // When the titles are lowered: on two other threads from build() on, or only from
    // startTitles() on (or when first needed), so that they do not compete with the list's
    // first showing.
    enum class Titles { Now, Later };

    // Replaces the index by one of the entries, in their order; in two parts above splitAbove
    // entries. The months, the pool and the parts' bounds are there when it returns; the
    // titles are lowered on two other threads meanwhile and titleParts() waits for them. The
    // entries must stay as they are until clear().
    void build(const HistoryEntries& entries, size_t splitAbove = kSplitAbove,
               Titles titles = Titles::Now);
    // Starts lowering the titles, if that has not started.
    void startTitles() const;

    size_t size() const { return m_month.size(); }
    int32_t monthKey(size_t entry) const { return m_month[entry]; }

    const std::vector<Bounds>& partBounds() const { return m_bounds; }
    // The titles of the parts; starts them if need be and waits until they are built. Call it
    // (and startTitles) on one thread at a time.
    const std::vector<Part>& titleParts() const;
    // Whether the titles are in one-byte codes.
    bool narrow() const { return m_narrow; }

    // A lower-cased needle prepared for searching the titles (see TitleScan).
    struct Needle {
        QString text;
        std::vector<uint8_t> codes;
        bool coded = false;  // in one-byte codes, all of which the index has
    };
    Needle prepare(const QString& needle) const;

    // hits[i] becomes 1 for every entry whose counterparty name or title contains needle
    // (lower-cased already, see lowered()), else 0.
    void findMatches(const HistoryEntries& entries, const QString& needle,
                     std::vector<uint8_t>& hits) const;
    // nameHits[n] becomes 1 for every pool text n that contains needle.
    void findPoolMatches(const QString& needle, std::vector<uint8_t>& nameHits) const;

    // The form in which texts and needles are compared: QString::toLower, with a zero
    // character replaced (zeros separate the texts in the index).
    static QString lowered(const QString& text);
    // Appends lowered(text) to out, without a temporary string in the common cases.
    static void appendLowered(HugeVector<char16_t>& out, QStringView text);
    // yyyymm of the local date of a time value; 0 when it has no local date.
    static int32_t monthOf(int64_t time);

private:
    void buildTitles(const HistoryEntries& entries, Bounds bounds, Part& part) const;
    void buildMonths(const HistoryEntries& entries);
    void buildCodes(const TextArena& titles);
    // The needle in the index's one-byte codes; false when a character has none, so that
    // no title can contain it.
    bool encode(const QString& needle, std::vector<uint8_t>& out) const;

    bool m_narrow = false;
    CodePage m_page;                         // of the lower-cased titles
    std::array<uint8_t, 256> m_lowerCode{};  // title code -> code of its small letter
    std::vector<Bounds> m_bounds;
    mutable std::vector<Part> m_titles;
    // The titles are lowered on first need, which may come in a const call.
    mutable const HistoryEntries* m_entries = nullptr;  // whose titles have not been started
    mutable std::vector<std::jthread> m_builders;
    Part m_pool;
    HugeVector<int32_t> m_month;
};
