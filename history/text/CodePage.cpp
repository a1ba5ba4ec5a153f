#include "CodePage.h"

CodePage::CodePage(int capacity)
    : m_codes(std::make_unique<std::array<uint8_t, 0x10000>>()), m_capacity(capacity) {
    m_codes->fill(0);
}

int CodePage::assign(char16_t c) {
    const int code = find(c);
    if (code >= 0 || m_used >= m_capacity) {
        return code;
    }
    m_characters[static_cast<size_t>(m_used)] = c;
    const auto given = static_cast<uint8_t>(0x80 + m_used);
    (*m_codes)[c] = given;
    ++m_used;
    return given;
}
