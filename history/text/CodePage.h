#pragma once

#include <array>
#include <cstdint>
#include <memory>

// One byte per character for texts that use few distinct characters, as most histories do:
// codes below 0x80 are ASCII, the others are given out to characters in the order they are
// first seen. A text with a character that has no code left is kept in UTF-16 instead.
class CodePage {
public:
    explicit CodePage(int capacity = 128);

    // The code of c, given out now when there is room; -1 when there is none.
    int assign(char16_t c);
    // The code of c, or -1.
    int find(char16_t c) const {
        if (c < 0x80) {
            return c;
        }
        const uint8_t code = (*m_codes)[c];
        return code == 0 ? -1 : code;
    }
    char16_t character(uint8_t code) const {
        return code < 0x80 ? code : m_characters[code - 0x80];
    }
    int used() const { return m_used; }

private:
    std::unique_ptr<std::array<uint8_t, 0x10000>> m_codes;
    std::array<char16_t, 128> m_characters{};
    int m_used = 0;
    int m_capacity;
};
