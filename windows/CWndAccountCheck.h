// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The account manager's entry rule, kept apart from the window so the order of the tests is
// plain to see and to test.

#include <string>

class CWndAccountCheck {
public:
    enum class Verdict { Valid, WrongLength, WrongCheckDigits, NameTooShort };

    // Normalises the number in place (spaces and hyphens removed), then tests, in this order,
    // the length, the check digits and the display name.
    static Verdict Validate(std::u16string& number, const std::u16string& name);

    // The message shown for a verdict; empty for Valid.
    static std::u16string Message(Verdict verdict);
};
