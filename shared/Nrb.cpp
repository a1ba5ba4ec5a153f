// SPDX-License-Identifier: GPL-3.0-or-later
#include "Nrb.h"

#include <array>

namespace {
// 10^k mod 97 for k = 0..29; weight 0 belongs to the last character of the check string.
constexpr std::array<int, 30> kWeights = {1,  10, 3,  30, 9,  90, 27, 76, 81, 34,
                                          49, 5,  50, 15, 53, 45, 62, 38, 89, 17,
                                          73, 51, 25, 56, 75, 71, 31, 19, 93, 57};

int digitValue(char16_t c) {
    return (c >= u'0' && c <= u'9') ? c - u'0' : 0;
}

bool isSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Reads like atoi: leading white space, an optional plus sign, digits up to the first other.
int readLeadingNumber(const std::u16string& text) {
    size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    if (i < text.size() && text[i] == u'+') {
        ++i;
    }
    int value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        value = value * 10 + (text[i] - u'0');
        ++i;
    }
    return value;
}
}  // namespace

std::u16string NormalizeNRB(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c != u' ' && c != u'-') {
            out.push_back(c);
        }
    }
    return out;
}

NrbCheck CheckNRB(const std::u16string& number) {
    const std::u16string check = number.substr(2, 24) + u"252100";
    int sum = 0;
    for (size_t n = 0; n < check.size(); ++n) {
        sum += digitValue(check[n]) * kWeights[check.size() - 1 - n];
    }
    NrbCheck result;
    result.expected = 98 - sum % 97;
    result.entered = readLeadingNumber(number.substr(0, 2));
    return result;
}

bool IsValidNRB(const std::u16string& number) {
    return number.size() == 26 && CheckNRB(number).valid();
}
