// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextArena.h"

#include <algorithm>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

template <typename Char>
Char* TextArena::Blocks<Char>::room(size_t characters) {
    if (characters > kBlock - m_used) {
        // A text longer than a block gets a block of its own size.
        if (m_blocks.size() >= (size_t{1} << (32 - kPositionBits))) {
            throw std::length_error("too much text");
        }
        const size_t size = std::max(kBlock, characters);
        m_blocks.emplace_back(static_cast<Char*>(HugePages::allocate(size * sizeof(Char))));
        m_used = 0;
    }
    return m_blocks.back().get() + m_used;
}

template <typename Char>
uint32_t TextArena::Blocks<Char>::ref() const {
    return static_cast<uint32_t>(((m_blocks.size() - 1) << kPositionBits) | m_used);
}

template <typename Char>
void TextArena::Blocks<Char>::used(size_t characters) {
    // A long text fills its block.
    m_used = characters >= kBlock ? kBlock : m_used + characters;
    m_characters += characters;
}

template <typename Char>
uint32_t TextArena::Blocks<Char>::adopt(Blocks&& other) {
    const auto before = static_cast<uint32_t>(m_blocks.size());
    if (other.m_blocks.empty()) {
        return before;
    }
    if (m_blocks.size() + other.m_blocks.size() > (size_t{1} << (32 - kPositionBits))) {
        throw std::length_error("too much text");
    }
    for (auto& block : other.m_blocks) {
        m_blocks.push_back(std::move(block));
    }
    m_used = other.m_used;
    m_characters += other.m_characters;
    other = {};
    return before;
}

namespace {

// The letters of Polish titles have the same codes in every arena: the halves of a list read
// apart then join without their titles' codes being changed.
CodePage polishPage() {
    CodePage page(TextArena::kCodes);
    for (const char16_t c : std::u16string_view(u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ")) {
        page.assign(c);
    }
    return page;
}

}  // namespace

TextArena::TextArena() : m_page(polishPage()) {}

TextArena::Adoption TextArena::adopt(TextArena&& other) {
    Adoption adoption;
    for (int code = 0; code < 256; ++code) {
        const char16_t c = other.m_page.character(static_cast<uint8_t>(code));
        adoption.characters[static_cast<size_t>(code)] = c;
        const int here = code < 0x80 + other.m_page.used() ? m_page.assign(c) : code;
        adoption.fits = adoption.fits && here >= 0;
        adoption.codes[static_cast<size_t>(code)] = static_cast<uint8_t>(here);
        adoption.sameCodes = adoption.sameCodes && here == code;
    }
    adoption.narrowOffset = m_narrow.adopt(std::move(other.m_narrow));
    adoption.wideOffset = m_wide.adopt(std::move(other.m_wide));
    other.clear();
    return adoption;
}

uint32_t TextArena::settle(const Adoption& adoption, uint32_t ref, uint32_t& length) {
    if (count(length) == 0) {
        return 0;
    }
    if (isWide(length)) {
        return ref + (adoption.wideOffset << kPositionBits);
    }
    const uint32_t here = ref + (adoption.narrowOffset << kPositionBits);
    uint8_t* text = m_narrow.at(here);
    if (adoption.fits) {
        if (!adoption.sameCodes) {
            std::transform(text, text + length, text,
                           [&](uint8_t code) { return adoption.codes[code]; });
        }
        return here;
    }
    std::u16string decoded(length, u'\0');
    std::transform(text, text + length, decoded.begin(),
                   [&](uint8_t code) { return adoption.characters[code]; });
    return add(decoded, length);
}

size_t TextArena::copyAscii(std::u16string_view text, size_t i, uint8_t* to) {
#if defined(__SSE2__)
    // Most titles are mostly ASCII: eight characters at a time while they all are.
    const __m128i high = _mm_set1_epi16(static_cast<int16_t>(0xFF80));
    for (; i + 8 <= text.size(); i += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        const __m128i highBits = _mm_and_si128(chars, high);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(highBits, _mm_setzero_si128())) != 0xFFFF) {
            break;
        }
        _mm_storel_epi64(reinterpret_cast<__m128i*>(to + i), _mm_packus_epi16(chars, chars));
    }
#endif
    for (; i < text.size() && text[i] < 0x80; ++i) {
        to[i] = static_cast<uint8_t>(text[i]);
    }
    return i;
}

uint32_t TextArena::add(std::u16string_view text, uint32_t& length) {
    length = static_cast<uint32_t>(text.size());
    if (text.empty()) {
        return 0;
    }
    if (text.size() >= kWide) {
        throw std::length_error("text too long");
    }
    uint8_t* to = m_narrow.room(text.size());
    size_t i = 0;
    for (; i < text.size(); ++i) {
        i = copyAscii(text, i, to);
        if (i == text.size()) {
            break;
        }
        const char16_t c = text[i];
        // Characters whose small letter differs in length are kept out of the code page:
        // the search index lowers one-byte texts code by code.
        if (QChar::isSurrogate(c) || c == 0x130) {
            break;
        }
        const int code = m_page.assign(c);
        if (code < 0) {
            break;
        }
        to[i] = static_cast<uint8_t>(code);
    }
    if (i == text.size()) {
        const uint32_t ref = m_narrow.ref();
        m_narrow.used(text.size());
        return ref;
    }
    char16_t* wide = m_wide.room(text.size());
    std::copy(text.begin(), text.end(), wide);
    const uint32_t ref = m_wide.ref();
    m_wide.used(text.size());
    length |= kWide;
    return ref;
}

QString TextArena::text(uint32_t ref, uint32_t length) const {
    const auto size = static_cast<qsizetype>(count(length));
    if (size == 0) {
        return {};
    }
    if (isWide(length)) {
        return QString(reinterpret_cast<const QChar*>(wide(ref)), size);
    }
    QString out(size, Qt::Uninitialized);
    const uint8_t* from = narrow(ref);
    QChar* to = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        to[i] = QChar(m_page.character(from[i]));
    }
    return out;
}

void TextArena::clear() {
    m_narrow = {};
    m_wide = {};
    m_page = polishPage();
}
