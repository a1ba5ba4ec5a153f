// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Polish account number (NRB) rule: IBAN check digits for country PL.

#include <string>

struct NrbCheck {
    int expected = 0;  // what the rule requires, always 2..98
    int entered = 0;   // what the number carries in its first two characters
    bool valid() const { return expected == entered; }
};

// Removes every space and hyphen; nothing else is changed.
std::u16string NormalizeNRB(const std::u16string& text);

// For a normalised number of exactly 26 characters; callers test the length first.
NrbCheck CheckNRB(const std::u16string& number);

// Length test plus check digits, the whole verdict.
bool IsValidNRB(const std::u16string& number);
