// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The export without a window, for scripts:
//   tavro --export FILE [--account NUMBER] [--from YYYY-MM-DD] [--to YYYY-MM-DD]

#include <iosfwd>

class CommandLine;

class ExportCommand {
public:
    // The export: the data folder's database is only read, the format follows the file's
    // extension, nothing is printed. Any failure is one Polish line on `err`, exit code 1, and
    // no file written or changed.
    static int Run(const CommandLine& line, std::ostream& err);
};
