// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextArena.h"

#include <algorithm>
#include <stdexcept>

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

TextArena::TextArena() : m_page(kCodes) {}

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
        const char16_t c = text[i];
        if (c < 0x80) {
            to[i] = static_cast<uint8_t>(c);
            continue;
        }
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
    m_page = CodePage(kCodes);
}
