// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tavro's own CSV and XML exports read back whole: each operation keeps its number, kind and
// (from CSV) its account's name.

#include "Statement.h"
#include "TextDecoding.h"

#include <optional>

#include <string>
#include <vector>

namespace OwnExportReader {

// The CSV header line as the export writes it (without the byte-order mark).
extern const char* const kCsvHeader;

// One statement per own account, in the order the accounts first appear; no balances.
// Throws ImportError naming the line.
std::vector<Statement> ReadCsv(const std::string& bytes,
                               std::optional<TextEncoding> encoding = std::nullopt);
std::vector<Statement> ReadXml(const std::string& bytes,
                               std::optional<TextEncoding> encoding = std::nullopt);

}  // namespace OwnExportReader
