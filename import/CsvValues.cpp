// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvValues.h"

#include "StatementValues.h"

#include <vector>

namespace {

// One field of a date format: which part and how many digits it takes (a minimum of one for M
// and d, which may be written without a leading zero).
struct DatePart {
    QChar letter;  // y, M or d; null for a literal character
    int width = 0;
    QChar literal;
};

std::optional<std::vector<DatePart>> partsOf(const QString& format) {
    std::vector<DatePart> parts;
    int years = 0, months = 0, days = 0;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c) {
            ++run;
        }
        if (c == u'y' && (run == 4 || run == 2)) {
            ++years;
        } else if ((c == u'M' && ++months) || (c == u'd' && ++days)) {
            if (run > 2) {
                return std::nullopt;
            }
        } else if (c.isLetter() || c.isDigit()) {
            return std::nullopt;
        } else {
            for (qsizetype k = 0; k < run; ++k) {
                parts.push_back({QChar(), 0, c});
            }
            i += run;
            continue;
        }
        parts.push_back({c, int(run), QChar()});
        i += run;
    }
    if (years != 1 || months != 1 || days != 1) {
        return std::nullopt;
    }
    return parts;
}

// Reads `width` digits (1 or 2 for a single letter); -1 when they are not there.
int digitsAt(const QString& text, qsizetype& at, int width) {
    const int most = width == 1 ? 2 : width;
    int value = 0, count = 0;
    while (count < most && at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
        value = value * 10 + (text[at].unicode() - u'0');
        ++at;
        ++count;
    }
    return count >= width ? value : -1;
}

QString withoutSpaces(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace()) {
            out += c;
        }
    }
    return out;
}

bool isMinus(QChar c) {
    return c == u'-' || c == QChar(0x2212);
}

// A currency code or "zł" at the end (else the start) of the text, taken off it.
std::optional<QString> takeCurrency(QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isLetter()) {
        --end;
    }
    QString code = text.mid(end);
    if (code.isEmpty()) {
        qsizetype start = 0;
        while (start < text.size() && text[start].isLetter()) {
            ++start;
        }
        code = text.left(start);
        text.remove(0, start);
    } else {
        text.truncate(end);
    }
    const QString lower = code.toLower();
    if (lower == u"zł" || lower == u"zl") {
        return QStringLiteral("PLN");
    }
    if (code.size() > 3) {
        return std::nullopt;
    }
    return code.toUpper();
}

}  // namespace

namespace CsvValues {

bool IsDateFormat(const QString& format) {
    return partsOf(format).has_value();
}

std::optional<int64_t> Date(const QString& written, const QString& format) {
    const auto parts = partsOf(format);
    const QString text = written.trimmed();
    if (!parts) {
        return std::nullopt;
    }
    int year = -1, month = -1, day = -1;
    qsizetype at = 0;
    for (const DatePart& part : *parts) {
        if (part.letter.isNull()) {
            if (at >= text.size() || text[at] != part.literal) {
                return std::nullopt;
            }
            ++at;
            continue;
        }
        const int value = digitsAt(text, at, part.width);
        if (value < 0) {
            return std::nullopt;
        }
        if (part.letter == u'y') {
            year = part.width == 2 ? (value < 70 ? 2000 + value : 1900 + value) : value;
        } else {
            (part.letter == u'M' ? month : day) = value;
        }
    }
    if (at < text.size() && text[at] != u' ' && text[at] != u'T') {
        return std::nullopt;
    }
    return StatementValues::Noon(year, month, day);
}

std::optional<Amount> ParseAmount(const QString& written, QChar decimalSign, QChar thousands) {
    QString text = withoutSpaces(written);
    Amount amount;
    const auto currency = takeCurrency(text);
    if (!currency) {
        return std::nullopt;
    }
    amount.currency = *currency;
    bool negative = false;
    if (!text.isEmpty() && (isMinus(text[0]) || text[0] == u'+')) {
        negative = isMinus(text[0]);
        text.remove(0, 1);
    }
    if (!thousands.isNull()) {
        text.remove(thousands);
    }
    const QChar other = decimalSign == u',' ? u'.' : u',';
    const qsizetype otherAt = text.indexOf(other);
    if (!text.contains(decimalSign) && otherAt >= 0 && text.count(other) == 1 &&
        text.size() - otherAt - 1 <= 2) {
        text[otherAt] = decimalSign;
    }
    if (text.contains(other) || text.count(decimalSign) > 1) {
        return std::nullopt;
    }
    text.replace(decimalSign, u'.');
    if (text.isEmpty() || !text[0].isDigit()) {
        return std::nullopt;
    }
    const auto grosze = StatementValues::Grosze(text);
    if (!grosze) {
        return std::nullopt;
    }
    amount.grosze = negative ? -*grosze : *grosze;
    return amount;
}

}  // namespace CsvValues
