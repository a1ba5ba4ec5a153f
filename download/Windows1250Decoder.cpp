// SPDX-License-Identifier: GPL-3.0-or-later
#include "Windows1250Decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace {

const char* utf16Native() {
    return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

const std::string kReplacement = [] {
    const char16_t character = u'\uFFFD';
    return std::string(reinterpret_cast<const char*>(&character), sizeof character);
}();

}  // namespace

Windows1250Decoder::Windows1250Decoder() : m_converter(utf16Native(), "WINDOWS-1250") {
    if (!m_converter.valid()) {
        throw std::runtime_error("iconv: WINDOWS-1250 is not available");
    }
}

std::u16string Windows1250Decoder::decode(const char* text) const {
    if (!text) {
        return {};
    }
    const size_t length = std::strlen(text);
    // Windows-1250 is ASCII below 0x80: bank numbers and most titles need no converter, which
    // costs a stored operation more than its SQL does.
    if (std::all_of(text, text + length,
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::u16string(text, text + length);
    }
    const std::string bytes = m_converter.convert(text, length, kReplacement, 1);
    std::u16string out(bytes.size() / sizeof(char16_t), u'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * sizeof(char16_t));
    return out;
}
