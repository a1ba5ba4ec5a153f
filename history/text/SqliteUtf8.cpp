#include "SqliteUtf8.h"

#include <cstdint>

namespace SqliteUtf8 {
namespace {

// The value bits of a lead byte from 0xC0 on, as SQLite reads them.
uint32_t leadBits(unsigned char c) {
    if (c < 0xE0) {
        return c - 0xC0u;
    }
    if (c < 0xF0) {
        return c - 0xE0u;
    }
    if (c < 0xF8) {
        return c - 0xF0u;
    }
    if (c < 0xFC) {
        return c - 0xF8u;
    }
    return c < 0xFE ? c - 0xFCu : 0u;
}

}  // namespace

size_t toUtf16(std::string_view utf8, char16_t* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    const unsigned char* end = in + utf8.size();
    char16_t* to = out;
    while (in < end) {
        uint32_t c = *in++;
        if (c < 0xC0) {
            *to++ = static_cast<char16_t>(c);
            continue;
        }
        c = leadBits(static_cast<unsigned char>(c));
        while (in < end && (*in & 0xC0) == 0x80) {
            c = (c << 6) + (0x3Fu & *in++);
        }
        if (c < 0x80 || (c & 0xFFFFF800u) == 0xD800 || (c & 0xFFFFFFFEu) == 0xFFFE) {
            c = 0xFFFD;
        }
        if (c <= 0xFFFF) {
            *to++ = static_cast<char16_t>(c);
        } else {
            *to++ = static_cast<char16_t>(0xD800 + (((c - 0x10000) >> 10) & 0x3FF));
            *to++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
    }
    return static_cast<size_t>(to - out);
}

}  // namespace SqliteUtf8
