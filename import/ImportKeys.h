// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key that tells an imported operation apart within its account across imports.

#include "Statement.h"

#include <QByteArray>

#include <string>
#include <vector>

namespace ImportKeys {

// "id:" and the file's own identifier where there is one, else "fp:" and a digest of the posting
// day, the amount in grosze, the counterparty account's digits and the title in lower case with
// white space collapsed.
std::u16string BaseKey(const StatementOperation& op);
// The first 16 bytes of that digest, for an operation without an identifier.
QByteArray Fingerprint(const StatementOperation& op);

// The keys of one account's operations in file order: the base key followed by "#n" for the
// n-th operation with that base key in the file, so two identical operations on one day get
// two keys. StatementImport holds them as an ImportKeyList instead.
std::vector<std::u16string> ForAccount(const std::vector<const StatementOperation*>& ops);

}  // namespace ImportKeys
