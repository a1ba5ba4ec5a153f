// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A bank's CSV history read with a profile: one statement per own account, in the order the
// accounts first appear, operations oldest first. Pending rows (a status or a card hold) are
// read as not booked.

#include "CsvProfile.h"
#include "Statement.h"
#include "TextDecoding.h"

#include <optional>
#include <string>

namespace CsvReader {

// Throws ImportError with a Polish message naming the profile and the line at fault.
StatementFile Read(const std::string& bytes, const CsvProfile& profile,
                   std::optional<TextEncoding> encoding = std::nullopt);

// The code page the bytes are read in: a byte-order mark or valid UTF-8 with letters beyond
// ASCII make UTF-8 (a Windows-1250 text with Polish letters never is); else the profile's code
// page, else the one whose Polish letters fit.
TextEncoding EncodingOf(const std::string& bytes, const CsvProfile& profile);

// The profile's header line is among the first lines of the file (at most 64 KiB are looked
// at). Always false for a profile without a header line.
bool HasHeader(const std::string& bytes, const CsvProfile& profile);

// The separator of a table among the first lines of the bytes: of ';', tab, ',' and '|', the one
// that cuts at least two lines into the same three or more fields, most lines first. Nothing
// for a text that is no such table (a letter, a binary file).
std::optional<QChar> GuessSeparator(const std::string& bytes);

}  // namespace CsvReader
