// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a statement must satisfy before anything of its file is stored: a valid own account,
// złoty, and balances that agree with its operations.

#include "Statement.h"

#include <optional>
#include <string>

namespace StatementChecks {

// The statement's own account as the 26-digit NRB. `given` (already a number the user typed)
// fills in a statement without an account or with one that is not an NRB, and must equal a valid
// one. Throws ImportError.
std::u16string OwnAccount(const Statement& statement,
                          const std::optional<std::u16string>& given = std::nullopt);

// Throws ImportError when the statement is in a currency other than PLN.
void CheckCurrency(const Statement& statement);

// Where the statement gives both balances: the Polish message naming the statement and both
// figures when opening + booked operations differs from closing; nothing when they agree or
// when a balance is missing.
std::optional<std::string> BalanceMismatch(const Statement& statement);

// Every check above for every statement of a file; the balance check only unless ignored.
void CheckFile(const StatementFile& file, const std::optional<std::u16string>& givenAccount,
               bool ignoreBalance);

}  // namespace StatementChecks
