// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dates, amounts and account numbers as statement files write them.

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace StatementValues {

// 12:00 local time of that calendar day, as the bank module stores dates; nothing when the day
// does not exist.
std::optional<int64_t> Noon(int year, int month, int day);

// "YYYY-MM-DD" at the start of the text (a time or zone after it is ignored); also "YYYYMMDD"
// when `compact`.
std::optional<int64_t> IsoDay(const QString& text, bool compact = false);

// "DD-MM-YYYY" or "DD.MM.YYYY".
std::optional<int64_t> DayMonthYear(const QString& text);

// An unsigned or signed amount with a decimal comma or point and at most two significant
// decimals ("1234,56", "-12.5", "38", "8.850"), in grosze; nothing for anything else.
std::optional<int64_t> Grosze(const QString& text);

// The own account as the 26-digit NRB: spaces, hyphens, a leading "/" (or anything up to the last
// "/") and "PL" are dropped; nothing when what is left is not a valid NRB.
std::optional<std::u16string> OwnAccountNrb(const std::u16string& written);

// Only the digits of the text.
QString DigitsOf(const QString& text);

// "-1 234,56 zł" style for messages: the amount with a decimal comma and two decimals.
QString FormatGrosze(int64_t grosze);

}  // namespace StatementValues
