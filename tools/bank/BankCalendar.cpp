// SPDX-License-Identifier: GPL-3.0-or-later
#include "BankCalendar.h"

#include <algorithm>
#include <iterator>

#include "CivilDate.h"

namespace {
struct Holiday {
    int month, day;
};
// Easter and the feasts that follow it move; a weekend is the rule the history shows most.
constexpr Holiday kHolidays[] = {{1, 1},  {1, 6},   {5, 1},   {5, 3},   {8, 15},
                                 {11, 1}, {11, 11}, {12, 24}, {12, 25}, {12, 26}};
}  // namespace

namespace BankCalendar {

bool IsWorkingDay(int day) {
    const int weekday = ((day + 3) % 7 + 7) % 7;  // 1970-01-01 was a Thursday; Monday is 0
    if (weekday >= 5) {
        return false;
    }
    int year = 0, month = 0, date = 0;
    CivilDate::ToCivil(day, year, month, date);
    return std::none_of(std::begin(kHolidays), std::end(kHolidays),
                        [&](const Holiday& h) { return h.month == month && h.day == date; });
}

int NextWorkingDay(int day) {
    while (!IsWorkingDay(day)) {
        ++day;
    }
    return day;
}

int PreviousWorkingDay(int day) {
    while (!IsWorkingDay(day)) {
        --day;
    }
    return day;
}

int LastDayOfMonth(int year, int month) {
    return CivilDate::FromCivil(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1) - 1;
}

int DayOfMonth(int year, int month, int day) {
    return std::min(CivilDate::FromCivil(year, month, day), LastDayOfMonth(year, month));
}

}  // namespace BankCalendar
