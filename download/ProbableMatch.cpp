// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbableMatch.h"

#include <QString>

namespace ProbableMatch {

std::u16string Digits(const std::u16string& counterpartyAccount) {
    std::u16string out;
    for (const char16_t c : counterpartyAccount) {
        if (c >= u'0' && c <= u'9') {
            out += c;
        }
    }
    return out;
}

std::u16string NormalisedTitle(const std::u16string& title) {
    return QString::fromStdU16String(title).simplified().toLower().toStdU16String();
}

bool SameTexts(const std::u16string& account, const std::u16string& title,
               const std::u16string& otherAccount, const std::u16string& otherTitle) {
    const std::u16string digits = Digits(account);
    if (!digits.empty() && digits == Digits(otherAccount)) {
        return true;
    }
    const std::u16string words = NormalisedTitle(title);
    return !words.empty() && words == NormalisedTitle(otherTitle);
}

}  // namespace ProbableMatch
