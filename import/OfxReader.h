// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// OFX bank and card statements: 1.x (SGML, leaf elements left unclosed, the header's CHARSET
// honoured) and 2.x (XML).

#include "Statement.h"
#include "TextDecoding.h"

#include <optional>

#include <string>
#include <vector>

namespace OfxReader {

// One statement per STMTRS or CCSTMTRS, in file order. The ledger balance is not a statement
// balance and is not read. Throws ImportError naming the line.
std::vector<Statement> Read(const std::string& bytes,
                            std::optional<TextEncoding> encoding = std::nullopt);

}  // namespace OfxReader
