// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// printf-style formatting into UTF-16; "%s" arguments are UTF-8.
std::u16string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::u16string FromUtf8(const std::string& text);
std::string ToUtf8(const std::u16string& text);
