// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dates and amounts of bank CSV files, in the formats a profile names.

#include <QString>

#include <cstdint>
#include <optional>

namespace CsvValues {

// A format made of the year (yyyy or yy), the month (MM or M) and the day (dd or d), each once,
// and literal characters that are no letters: "yyyy-MM-dd", "dd.MM.yyyy".
bool IsDateFormat(const QString& format);

// The day at 12:00 local time; a time after the date (following a space or "T") is ignored.
// Two-digit years below 70 are 20YY.
std::optional<int64_t> Date(const QString& text, const QString& format);

struct Amount {
    int64_t grosze = 0;
    QString currency;  // upper case, "PLN" for "zł"; empty when the text names none
};

// "-1 234,56", "1.234,56 PLN", "-2,72 PLN", "+12.50", "zł 5": spaces (also no-break ones)
// anywhere, the thousands separator where given, a currency before or after. A decimal point
// is also taken where the profile says comma and there is no comma (and the other way round),
// but never a text that could be read two ways.
std::optional<Amount> ParseAmount(const QString& text, QChar decimalSign, QChar thousands);

}  // namespace CsvValues
