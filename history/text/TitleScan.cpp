#include "TitleScan.h"

#include <algorithm>
#include <cstring>

#include "TextSearch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
__m128i load16(const uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

uint32_t same16(const uint8_t* at, __m128i code) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(load16(at), code)));
}
#endif

}  // namespace

TitleScan::TitleScan(const HistorySearchIndex::Part& part, bool narrow,
                     const HistorySearchIndex::Needle& needle, size_t stretch)
    : m_part(part),
      m_needle(needle),
      m_narrow(narrow),
      m_marked(narrow && needle.coded && !needle.codes.empty() &&
               needle.codes.size() <= kLongestMarked),
      m_stretch(std::max<size_t>(stretch, 16)) {}

bool TitleScan::containsAlone(uint32_t begin, uint32_t end) const {
    const qsizetype length = end - begin;
    if (!m_narrow) {
        const QStringView text(m_part.text.data() + begin, length);
        return TextSearch::find(text, 0, m_needle.text) >= 0;
    }
    return m_needle.coded &&
           TextSearch::find(m_part.bytes.data() + begin, length, 0, m_needle.codes.data(),
                            static_cast<qsizetype>(m_needle.codes.size())) >= 0;
}

void TitleScan::mark(uint32_t begin, uint32_t end) {
    m_begin = begin;
    m_end = end;
    const size_t blocks = (end - begin + 15) / 16;
    // Two bytes of marks a block, and a word's worth more for the reads of anyMark.
    m_marks.assign(blocks * 2 + sizeof(uint64_t), 0);
    const uint8_t* text = m_part.bytes.data() + begin;
    const uint8_t* needle = m_needle.codes.data();
    const size_t length = m_needle.codes.size();
    uint8_t* marks = m_marks.data();
#if defined(__SSE2__)
    // Bit k of a block's marks: the needle starts at its byte k. The first and last character
    // are tested everywhere; for a longer needle the others only where those two matched,
    // which is rare (so that test is well predicted, and a short needle has no such test).
    const __m128i first = _mm_set1_epi8(static_cast<char>(needle[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(needle[length - 1]));
    const auto markAll = [&](auto middle) {
        for (size_t block = 0; block < blocks; ++block) {
            const uint8_t* at = text + block * 16;
            const uint32_t found = middle(at, same16(at, first) & same16(at + length - 1, last));
            marks[block * 2] = static_cast<uint8_t>(found);
            marks[block * 2 + 1] = static_cast<uint8_t>(found >> 8);
        }
    };
    if (length <= 2) {
        markAll([](const uint8_t*, uint32_t found) { return found; });
    } else {
        markAll([&](const uint8_t* at, uint32_t found) {
            for (size_t k = 1; found != 0 && k + 1 < length; ++k) {
                found &= same16(at + k, _mm_set1_epi8(static_cast<char>(needle[k])));
            }
            return found;
        });
    }
#else
    for (size_t block = 0; block < blocks; ++block) {
        uint32_t found = 0;
        for (size_t k = 0; k < 16; ++k) {
            const uint8_t* at = text + block * 16 + k;
            found |= static_cast<uint32_t>(std::memcmp(at, needle, length) == 0) << k;
        }
        marks[block * 2] = static_cast<uint8_t>(found);
        marks[block * 2 + 1] = static_cast<uint8_t>(found >> 8);
    }
#endif
}
