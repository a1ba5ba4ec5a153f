// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A statement file of any known format, told from its content, read into statements.

#include "Statement.h"
#include "TextDecoding.h"

struct CsvProfile;

#include <optional>
#include <string>

namespace StatementReader {

// Files above this size are refused before they are read.
constexpr size_t kLargestFile = size_t(256) * 1024 * 1024;

// The format the bytes are in; nothing when no reader knows them. The name of the file is never
// consulted.
std::optional<StatementFormat> DetectFormat(const std::string& bytes);

// "mt940", "camt", "ofx", "csv", "xml".
std::optional<StatementFormat> FormatFromName(const std::string& name);

// Reads the whole file; the format and the code page may be forced. A bank's CSV needs its
// profile (see CsvProfiles::match): given one, the format is BankCsv unless forced otherwise.
// Throws ImportError with a Polish message.
StatementFile Read(const std::string& bytes, std::optional<StatementFormat> format = std::nullopt,
                   std::optional<TextEncoding> encoding = std::nullopt,
                   const CsvProfile* profile = nullptr);

}  // namespace StatementReader
