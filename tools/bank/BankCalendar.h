// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Working days as a Polish bank books transfers: no weekends, no public holidays with a fixed date.

namespace BankCalendar {
bool IsWorkingDay(int day);
int NextWorkingDay(int day);                   // the day itself when it is one
int PreviousWorkingDay(int day);               // the day itself when it is one
int DayOfMonth(int year, int month, int day);  // clamped to the month's length
int LastDayOfMonth(int year, int month);
}  // namespace BankCalendar
