// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbableMatch.h"

#include <QString>

#include "sqlite3x.h"

namespace {

QString digitsOf(const std::u16string& text) {
    QString out;
    for (const char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            out += QChar(c);
        }
    }
    return out;
}

QString normalisedTitle(const std::u16string& title) {
    return QString::fromStdU16String(title).simplified().toLower();
}

}  // namespace

namespace ProbableMatch {

std::optional<int32_t> FirstOf(sqlite3x::reader& rows, const std::u16string& counterpartyAccount,
                               const std::u16string& title) {
    const QString account = digitsOf(counterpartyAccount);
    const QString words = normalisedTitle(title);
    while (rows.read()) {
        const bool sameAccount = !account.isEmpty() && digitsOf(rows.get_string(1)) == account;
        const bool sameTitle = !words.isEmpty() && normalisedTitle(rows.get_string(2)) == words;
        if (sameAccount || sameTitle) {
            return rows.get_int(0);
        }
    }
    return std::nullopt;
}

}  // namespace ProbableMatch
