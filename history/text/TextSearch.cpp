#include "TextSearch.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace TextSearch {
namespace {

bool sameTail(const char16_t* at, const char16_t* needle, qsizetype length) {
    return std::memcmp(at, needle, static_cast<size_t>(length) * sizeof(char16_t)) == 0;
}

qsizetype findScalar(const char16_t* text, qsizetype from, qsizetype last, const char16_t* needle,
                     qsizetype length) {
    for (qsizetype i = from; i <= last; ++i) {
        if (text[i] == needle[0] && text[i + length - 1] == needle[length - 1] &&
            sameTail(text + i, needle, length)) {
            return i;
        }
    }
    return -1;
}

}  // namespace

qsizetype find(QStringView textView, qsizetype from, QStringView needleView) {
    const qsizetype length = needleView.size();
    const qsizetype size = textView.size();
    if (from < 0) {
        from = 0;
    }
    if (length == 0) {
        return from <= size ? from : -1;
    }
    if (from + length > size) {
        return -1;
    }
    const auto* text = reinterpret_cast<const char16_t*>(textView.data());
    const auto* needle = reinterpret_cast<const char16_t*>(needleView.data());
    // Last position at which the needle still fits.
    const qsizetype last = size - length;
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(static_cast<short>(needle[0]));
    const __m128i lastChar = _mm_set1_epi16(static_cast<short>(needle[length - 1]));
    for (; i + 8 <= last + 1; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + length - 1));
        const __m128i both = _mm_and_si128(_mm_cmpeq_epi16(a, first), _mm_cmpeq_epi16(b, lastChar));
        // Two mask bits per 16-bit lane; keep the low one of each.
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(both)) & 0x5555u;
        while (mask != 0) {
            const int bit = __builtin_ctz(mask);
            const qsizetype at = i + bit / 2;
            if (sameTail(text + at, needle, length)) {
                return at;
            }
            mask &= mask - 1;
        }
    }
#endif
    return findScalar(text, i, last, needle, length);
}

qsizetype find(const uint8_t* text, qsizetype size, qsizetype from, const uint8_t* needle,
               qsizetype length) {
    if (from < 0) {
        from = 0;
    }
    if (length == 0) {
        return from <= size ? from : -1;
    }
    if (from + length > size) {
        return -1;
    }
    const qsizetype last = size - length;
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(needle[0]));
    const __m128i lastByte = _mm_set1_epi8(static_cast<char>(needle[length - 1]));
    for (; i + 16 <= last + 1; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + length - 1));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, lastByte))));
        while (mask != 0) {
            const qsizetype at = i + __builtin_ctz(mask);
            if (std::memcmp(text + at, needle, static_cast<size_t>(length)) == 0) {
                return at;
            }
            mask &= mask - 1;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (text[i] == needle[0] &&
            std::memcmp(text + i, needle, static_cast<size_t>(length)) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace TextSearch
