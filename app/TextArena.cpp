#include "TextArena.h"

#include <algorithm>
#include <stdexcept>

#include "SqliteUtf8.h"

char16_t* TextArena::room(size_t characters) {
    if (characters > kBlock - m_used) {
        // A text longer than a block gets a block of its own size.
        if (m_blocks.size() >= (size_t{1} << (32 - kPositionBits))) {
            throw std::length_error("too much text");
        }
        m_blocks.push_back(
            std::make_unique_for_overwrite<char16_t[]>(std::max(kBlock, characters)));
        m_used = 0;
    }
    return m_blocks.back().get() + m_used;
}

uint32_t TextArena::refOfRoom() const {
    return static_cast<uint32_t>(((m_blocks.size() - 1) << kPositionBits) | m_used);
}

void TextArena::used(size_t characters) {
    // A long text fills its block.
    m_used = characters >= kBlock ? kBlock : m_used + characters;
    m_characters += characters;
}

uint32_t TextArena::add(std::u16string_view text) {
    if (text.empty()) {
        return 0;
    }
    char16_t* at = room(text.size());
    std::copy(text.begin(), text.end(), at);
    const uint32_t ref = refOfRoom();
    used(text.size());
    return ref;
}

uint32_t TextArena::addUtf8(std::string_view utf8, uint32_t& length) {
    length = 0;
    if (utf8.empty()) {
        return 0;
    }
    char16_t* at = room(utf8.size());
    length = static_cast<uint32_t>(SqliteUtf8::toUtf16(utf8, at));
    const uint32_t ref = refOfRoom();
    used(length);
    return ref;
}

std::u16string_view TextArena::view(uint32_t ref, uint32_t length) const {
    if (length == 0) {
        return {};
    }
    const char16_t* block = m_blocks[ref >> kPositionBits].get();
    return {block + (ref & (kBlock - 1)), length};
}

QString TextArena::text(uint32_t ref, uint32_t length) const {
    const std::u16string_view v = view(ref, length);
    return QString(reinterpret_cast<const QChar*>(v.data()), static_cast<qsizetype>(v.size()));
}

void TextArena::clear() {
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_used = kBlock;
    m_characters = 0;
}
