// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextCodec.h"

#include "IconvConverter.h"

namespace {

std::string fromUtf8(const char* to, const std::string& text) {
    return IconvConverter(to, "UTF-8").convert(text.data(), text.size(), "?", 1);
}

}  // namespace

namespace TextCodec {

std::string Utf8ToLatin2(const std::string& text) {
    return fromUtf8("ISO-8859-2", text);
}

std::string Utf8ToCp1250(const std::string& text) {
    return fromUtf8("WINDOWS-1250", text);
}

}  // namespace TextCodec
