// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statement import without a window, for scripts:
//   tavro --import FILE [--account NUMBER] [--format mt940|camt|ofx|csv|xml] [--encoding NAME]
//                       [--dry-run] [--ignore-balance]

#include <iosfwd>

class CommandLine;

class ImportCommand {
public:
    // The file is read and checked whole before the data folder is touched, then stored in the
    // data folder's database in one transaction (created as at a first start when there is none).
    // `out` gets one UTF-8 line per account; a file imported before adds a line on `err`. Any
    // failure is one Polish line on `err`, exit code 1, and nothing created, stored or changed.
    static int Run(const CommandLine& line, std::ostream& out, std::ostream& err);
};
