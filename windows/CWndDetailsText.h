// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the details window writes an account number and an amount for reading.

#include <string>

class CWndDetailsText {
public:
    // 26 or more characters: the check digits and six groups of four, separated by single
    // spaces (characters after the 26th are dropped); shorter texts unchanged.
    static std::u16string GroupAccountNumber(const std::u16string& number);
    // "%.2f PLN" with a decimal comma.
    static std::u16string FormatAmount(double amount);
};
