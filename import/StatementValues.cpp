// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatementValues.h"

#include "Nrb.h"

#include <algorithm>
#include <ctime>
#include <unordered_map>

namespace {

bool digitsAt(const QString& text, qsizetype from, qsizetype count) {
    if (from + count > text.size()) {
        return false;
    }
    for (qsizetype i = from; i < from + count; ++i) {
        if (!text[i].isDigit() || text[i].unicode() > 127) {
            return false;
        }
    }
    return true;
}

// Only after digitsAt has passed; without a copy of the text, as every date of a file is read.
int numberAt(const QString& text, qsizetype from, qsizetype count) {
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return value;
}

std::optional<int64_t> noonOf(int year, int month, int day) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    // mktime moves 31 April to 1 May; such a day is not in the calendar.
    if (seconds == static_cast<std::time_t>(-1) || local.tm_mday != day ||
        local.tm_mon != month - 1) {
        return std::nullopt;
    }
    return static_cast<int64_t>(seconds);
}

}  // namespace

namespace StatementValues {

std::optional<int64_t> Noon(int year, int month, int day) {
    if (year < 1970 || year > 2099 || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    // A statement names few days many times, and mktime reads the zone rules at every call; the
    // zone is the process's own for its whole life.
    thread_local std::unordered_map<int, std::optional<int64_t>> known;
    const int key = (year * 100 + month) * 100 + day;
    if (const auto it = known.find(key); it != known.end()) {
        return it->second;
    }
    return known[key] = noonOf(year, month, day);
}

std::optional<int64_t> IsoDay(const QString& text, bool compact) {
    if (compact && digitsAt(text, 0, 8)) {
        return Noon(numberAt(text, 0, 4), numberAt(text, 4, 2), numberAt(text, 6, 2));
    }
    if (!digitsAt(text, 0, 4) || text.size() < 10 || text[4] != u'-' || text[7] != u'-' ||
        !digitsAt(text, 5, 2) || !digitsAt(text, 8, 2)) {
        return std::nullopt;
    }
    return Noon(numberAt(text, 0, 4), numberAt(text, 5, 2), numberAt(text, 8, 2));
}

std::optional<int64_t> DayMonthYear(const QString& text) {
    if (text.size() != 10 || !digitsAt(text, 0, 2) || !digitsAt(text, 3, 2) ||
        !digitsAt(text, 6, 4) || text[2] != text[5] || (text[2] != u'-' && text[2] != u'.')) {
        return std::nullopt;
    }
    return Noon(numberAt(text, 6, 4), numberAt(text, 3, 2), numberAt(text, 0, 2));
}

// Read without a copy of the text: every operation of a file has an amount.
std::optional<int64_t> Grosze(const QString& written) {
    QStringView text = QStringView(written).trimmed();
    bool negative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negative = text[0] == u'-';
        text = text.mid(1);
    }
    qsizetype point = text.indexOf(u',');
    if (point < 0) {
        point = text.indexOf(u'.');
    }
    const QStringView whole = point < 0 ? text : text.left(point);
    QStringView fraction = point < 0 ? QStringView() : text.mid(point + 1);
    while (fraction.size() > 2 && fraction.endsWith(u'0')) {
        fraction.chop(1);
    }
    const auto digits = [](QStringView part) {
        return std::all_of(part.begin(), part.end(),
                           [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (whole.isEmpty() || whole.size() > 15 || !digits(whole) || fraction.size() > 2 ||
        !digits(fraction)) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (const QChar c : whole) {
        value = value * 10 + (c.unicode() - u'0');
    }
    for (qsizetype i = 0; i < 2; ++i) {
        value = value * 10 + (i < fraction.size() ? fraction[i].unicode() - u'0' : 0);
    }
    return negative ? -value : value;
}

std::optional<std::u16string> OwnAccountNrb(const std::u16string& written) {
    std::u16string number = NormalizeNRB(written);
    const size_t slash = number.rfind(u'/');
    if (slash != std::u16string::npos) {
        number.erase(0, slash + 1);
    }
    if (number.size() == 28 && (number[0] == u'P' || number[0] == u'p') &&
        (number[1] == u'L' || number[1] == u'l')) {
        number.erase(0, 2);
    }
    const bool digits = std::all_of(number.begin(), number.end(),
                                    [](char16_t c) { return c >= u'0' && c <= u'9'; });
    if (!digits || !IsValidNRB(number)) {
        return std::nullopt;
    }
    return number;
}

QString DigitsOf(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            out += c;
        }
    }
    return out;
}

QString FormatGrosze(int64_t grosze) {
    const int64_t magnitude = grosze < 0 ? -grosze : grosze;
    return QStringLiteral("%1%2,%3")
        .arg(grosze < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QChar(u'0'));
}

}  // namespace StatementValues
