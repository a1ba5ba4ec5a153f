// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ISO 20022 camt.053 account statements of any version, matched by local element names.

#include "Statement.h"
#include "TextDecoding.h"

#include <optional>

#include <string>
#include <vector>

namespace CamtReader {

// Every Stmt of the file in file order; a batch entry gives one operation per TxDtls. Entries
// that are not booked come back with booked = false. Throws ImportError naming the line.
std::vector<Statement> Read(const std::string& bytes,
                            std::optional<TextEncoding> encoding = std::nullopt);

}  // namespace CamtReader
