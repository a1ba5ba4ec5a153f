// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MT940 statements with the Polish conventions of field :86: (subfields after "~", "<", "^",
// "+" or "?" and two digits, or free text), blocks possibly wrapped in SOH ... ETX.

#include "Statement.h"
#include "TextDecoding.h"

#include <optional>
#include <string>
#include <vector>

namespace Mt940Reader {

// Every statement of the file in file order; throws ImportError naming the line at fault.
// Without an encoding the code page is detected.
std::vector<Statement> Read(const std::string& bytes,
                            std::optional<TextEncoding> encoding = std::nullopt);

// The ":86:" subfield separator the file uses: the candidate that opens the most ":86:" fields
// (after an optional three-digit code); 0 when the fields are free text.
char16_t SubfieldSeparator(const std::vector<QString>& details);

}  // namespace Mt940Reader
