// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFormat.h"

#include <QString>
#include <cstdarg>
#include <cstdio>
#include <vector>

std::u16string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return FromUtf8(out);
}

std::u16string FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdU16String();
}

std::string ToUtf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toUtf8().toStdString();
}
