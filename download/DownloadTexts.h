// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// What the user is told after each download job.

// The explanation of a module's result code; "nieznany błąd" for a code without one.
std::u16string ResultText(int32_t code);
// The warnings-window line for a failed job (account, code, explanation).
std::u16string WarningText(const std::u16string& account, int32_t code);
// The warnings-window line that follows a job whose operations could not be stored: the
// cause (from SQLite's result code) and that the stored history is unchanged.
std::u16string StorageWarningText(const std::u16string& account, int sqliteCode);
// "Nowe operacje na koncie '<display name>'"
std::u16string JobTitle(const std::u16string& displayName);
// "Nowe operacje na liście"
std::u16string RunTitle();
// "Sztuk: <count>, na łączną kwotę <sum with two decimals and a decimal comma>"
std::u16string CountText(int32_t count, double sum);

inline constexpr const char16_t* kCancelQuestion = u"Czy chesz anulować pozostałe operacje?";
inline constexpr const char16_t* kQuestionCaption = u"Pytanie";
