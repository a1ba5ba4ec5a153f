// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When a downloaded and an imported operation are probably one: the same account, direction and
// amount in grosze, posting days at most three days apart (an hour more for a change of
// daylight-saving time), and the same counterparty account or the same title. One rule for both
// directions, so that an import and a later download never disagree.

#include <cstdint>
#include <string>

namespace ProbableMatch {

inline constexpr int64_t kDistance = 3 * 86400 + 3600;

// The forms that are compared: the counterparty account's digits, and the title lower-cased
// with its white space collapsed. An empty form never matches.
std::u16string Digits(const std::u16string& counterpartyAccount);
std::u16string NormalisedTitle(const std::u16string& title);

// Whether the texts of two operations that agree in everything else make them one.
bool SameTexts(const std::u16string& account, const std::u16string& title,
               const std::u16string& otherAccount, const std::u16string& otherTitle);

}  // namespace ProbableMatch
