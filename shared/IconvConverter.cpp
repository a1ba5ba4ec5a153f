// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconvConverter.h"

#include <cerrno>
#include <cstring>

IconvConverter::IconvConverter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}

IconvConverter::~IconvConverter() {
    if (valid()) {
        iconv_close(m_cd);
    }
}

std::string IconvConverter::convert(const char* data, size_t size, const std::string& replacement,
                                    size_t unitSize) const {
    std::string out;
    if (!valid()) {
        return out;
    }
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    char buffer[512];
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof(buffer);
        const size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, sizeof(buffer) - dstLeft);
        if (rc != static_cast<size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        if (errno == EILSEQ && inLeft >= unitSize) {
            out += replacement;
            in += unitSize;
            inLeft -= unitSize;
            continue;
        }
        break;  // EINVAL: an incomplete unit at the end
    }
    return out;
}

std::string Utf16ToCp1250(const std::u16string& text) {
    const IconvConverter converter("WINDOWS-1250", "UTF-16LE");
    std::string out;
    // Converted per character so that a surrogate pair or an unknown letter costs one "?".
    size_t i = 0;
    while (i < text.size()) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size();
        const size_t units = pair ? 2 : 1;
        const std::string piece = converter.convert(reinterpret_cast<const char*>(&text[i]),
                                                    units * sizeof(char16_t), "?", units * 2);
        out += piece.empty() ? std::string("?") : piece;
        i += units;
    }
    return out;
}

namespace {
std::u16string toUtf16(const std::string& text, const char* codePage,
                       const std::string& replacement) {
    const IconvConverter converter("UTF-16LE", codePage);
    const std::string bytes = converter.convert(text.data(), text.size(), replacement, 1);
    std::u16string out(bytes.size() / 2, u'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * sizeof(char16_t));
    return out;
}
}  // namespace

std::u16string Cp1250ToUtf16(const std::string& text) {
    return toUtf16(text, "WINDOWS-1250", std::string("?\0", 2));
}

std::u16string CodePageToUtf16(const std::string& text, const char* codePage) {
    return toUtf16(text, codePage, std::string("\xFD\xFF", 2));
}
