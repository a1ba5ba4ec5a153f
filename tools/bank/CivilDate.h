// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Calendar days in the local time zone, counted from 1970-01-01, and the bank's date texts.

#include <string>

namespace CivilDate {
int FromCivil(int year, int month, int day);
void ToCivil(int days, int& year, int& month, int& day);
// Today in the process's local time zone.
int Today();
// "dd-mm-yyyy", the form every page uses.
std::string Format(int days);
// "dd-mm-yyyy", or "-N" for N days before today.
bool Parse(const std::string& text, int& days);
// The same day of the month `months` earlier, clamped to the length of that month.
int MonthsBefore(int days, int months);
}  // namespace CivilDate
