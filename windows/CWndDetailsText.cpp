// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndDetailsText.h"

#include <cstdio>

namespace {
constexpr size_t kNumberLength = 26;
constexpr size_t kCheckDigits = 2;
constexpr size_t kGroup = 4;
}  // namespace

std::u16string CWndDetailsText::GroupAccountNumber(const std::u16string& number) {
    if (number.size() < kNumberLength) {
        return number;
    }
    std::u16string out = number.substr(0, kCheckDigits);
    for (size_t at = kCheckDigits; at < kNumberLength; at += kGroup) {
        out += u' ';
        out += number.substr(at, kGroup);
    }
    return out;
}

std::u16string CWndDetailsText::FormatAmount(double amount) {
    char buffer[512];
    const int length = std::snprintf(buffer, sizeof buffer, "%.2f PLN", amount);
    std::u16string out;
    for (int i = 0; i < length && i < int(sizeof buffer) - 1; ++i) {
        out += buffer[i] == '.' ? u',' : char16_t(static_cast<unsigned char>(buffer[i]));
    }
    return out;
}
