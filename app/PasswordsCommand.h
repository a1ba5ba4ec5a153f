// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The move of plain passwords into the keyring without a window:
//   tavro --passwords-to-keyring

#include <iosfwd>
#include <string>

namespace PasswordsCommand {

// 0 when the passwords were moved or none was left to move; 1 with one Polish line on `err`
// when Tavro runs, the database cannot be read, or no keyring answers or it refuses. Nothing
// is changed then. The data folder's settings forget an earlier "Nie" to the move.
int Run(std::ostream& err, const std::string& lockName = "Global\\DEZ");

}  // namespace PasswordsCommand
