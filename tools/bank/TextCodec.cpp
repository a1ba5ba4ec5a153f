// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextCodec.h"

#include <cerrno>
#include <stdexcept>

void TextCodec::Closer::operator()(void* handle) const {
    iconv_close(static_cast<iconv_t>(handle));
}

TextCodec::TextCodec(const char* to, const char* from) {
    iconv_t handle = iconv_open(to, from);
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("iconv cannot convert to ") + to);
    }
    m_handle.reset(handle);
}

std::string TextCodec::convert(const std::string& text) const {
    iconv_t handle = static_cast<iconv_t>(m_handle.get());
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(text.size());
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr);
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            // Skip one unconvertible or broken sequence: its lead byte and continuation bytes.
            out.push_back('?');
            ++in;
            --inLeft;
            while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
                ++in;
                --inLeft;
            }
        }
    }
    return out;
}

std::string TextCodec::Utf8ToLatin2(const std::string& text) {
    return TextCodec("ISO-8859-2", "UTF-8").convert(text);
}

std::string TextCodec::Utf8ToCp1250(const std::string& text) {
    return TextCodec("CP1250", "UTF-8").convert(text);
}
