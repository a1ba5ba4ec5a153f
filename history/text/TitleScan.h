// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "HistorySearchIndex.h"

// Tells whether the lower-cased titles of one part of the search index contain a needle, for
// entries asked in ascending order. In one-byte codes it marks every position of a stretch of
// text where the needle starts, sixteen positions at a time and without a branch per title,
// then answers for each title from those marks: a search for a single letter that most titles
// contain costs a few nanoseconds a title. Otherwise each title is searched on its own.
class TitleScan {
public:
    // Needles this long or shorter are marked; the part's text is followed by enough
    // separators for every read of a mark.
    static constexpr size_t kLongestMarked = 32;
    static constexpr size_t kPadding = kLongestMarked + 16;

    TitleScan(const HistorySearchIndex::Part& part, bool narrow,
              const HistorySearchIndex::Needle& needle, size_t stretch = 16384);

    // Asked once per entry on every keystroke, so kept where the caller can inline it.
    [[gnu::always_inline]] bool contains(size_t entry) {
        const size_t at = entry - m_part.first;
        const uint32_t begin = m_part.start[at];
        const uint32_t end = m_part.start[at + 1] - 1;  // the separator
        if (!m_marked) {
            return containsAlone(begin, end);
        }
        if (begin == end) {
            return false;
        }
        if (end > m_end || begin < m_begin) {
            const size_t stretchEnd = std::min<size_t>(begin + m_stretch, m_part.start.back());
            mark(begin, std::max(end, static_cast<uint32_t>(stretchEnd)));
        }
        return anyMark(begin - m_begin, end - m_begin);
    }

private:
    bool containsAlone(uint32_t begin, uint32_t end) const;
    void mark(uint32_t begin, uint32_t end);

    bool anyMark(uint32_t begin, uint32_t end) const {
        // 57 marks or more can be read from any bit through one unaligned word.
        constexpr uint32_t kWord = 56;
        uint32_t length = end - begin;
        while (length > kWord) {
            if ((marksAt(begin) & ((uint64_t{1} << kWord) - 1)) != 0) {
                return true;
            }
            begin += kWord;
            length -= kWord;
        }
        return (marksAt(begin) & ((uint64_t{1} << length) - 1)) != 0;
    }
    uint64_t marksAt(uint32_t bit) const {
        uint64_t word = 0;
        std::memcpy(&word, m_marks.data() + bit / 8, sizeof word);
        return word >> (bit % 8);
    }

    const HistorySearchIndex::Part& m_part;
    const HistorySearchIndex::Needle& m_needle;
    bool m_narrow;
    bool m_marked;
    size_t m_stretch;
    uint32_t m_begin = 0;  // of the marked stretch of text
    uint32_t m_end = 0;
    std::vector<uint8_t> m_marks;  // bit k: the needle starts at m_begin + k
};
