// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When a downloaded and an imported operation are probably one: the same account, direction and
// amount (the query's part), posting days at most three days apart (an hour more for a change of
// daylight-saving time), and the same counterparty account or the same title (this part). One
// rule for both directions, so that an import and a later download never disagree.

#include <cstdint>
#include <optional>
#include <string>

namespace sqlite3x {
class reader;
}

namespace ProbableMatch {

inline constexpr int64_t kDistance = 3 * 86400 + 3600;

// The first of the candidate rows (t_id, counterparty account, title) whose counterparty account
// digits or whose title, lower-cased with its white space collapsed, equals the operation's.
std::optional<int32_t> FirstOf(sqlite3x::reader& rows, const std::u16string& counterpartyAccount,
                               const std::u16string& title);

}  // namespace ProbableMatch
