// SPDX-License-Identifier: GPL-3.0-or-later
#include "CivilDate.h"

#include <cstdio>
#include <ctime>

namespace CivilDate {

// Days from civil, the proleptic Gregorian algorithm.
int FromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void ToCivil(int days, int& year, int& month, int& day) {
    days += 719468;
    const int era = (days >= 0 ? days : days - 146096) / 146097;
    const int doe = days - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = yoe + era * 400 + (month <= 2 ? 1 : 0);
}

int Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string Format(int days) {
    int year = 0, month = 0, day = 0;
    ToCivil(days, year, month, day);
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", day % 100, month % 100, year % 10000);
    return text;
}

bool Parse(const std::string& text, int& days) {
    int day = 0, month = 0, year = 0;
    char rest = 0;
    if (!text.empty() && text[0] == '-') {
        int back = 0;
        if (std::sscanf(text.c_str() + 1, "%d%c", &back, &rest) != 1 || back < 0) {
            return false;
        }
        days = Today() - back;
        return true;
    }
    if (std::sscanf(text.c_str(), "%2d-%2d-%4d%c", &day, &month, &year, &rest) != 3 || month < 1 ||
        month > 12 || day < 1 || day > 31) {
        return false;
    }
    days = FromCivil(year, month, day);
    return true;
}

int MonthsBefore(int days, int months) {
    int year = 0, month = 0, day = 0;
    ToCivil(days, year, month, day);
    int index = year * 12 + (month - 1) - months;
    year = index / 12;
    month = index % 12 + 1;
    const int length = FromCivil(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1) -
                       FromCivil(year, month, 1);
    return FromCivil(year, month, day < length ? day : length);
}

}  // namespace CivilDate
