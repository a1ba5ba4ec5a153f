#pragma once
// The export without a window, for scripts:
//   tavro --export FILE [--account NUMBER] [--from YYYY-MM-DD] [--to YYYY-MM-DD]
//   tavro --help

#include <iosfwd>
#include <string>

class ExportCommand {
public:
    // True when the arguments ask for the command line instead of the window.
    static bool Handles(int argc, const char* const argv[]);

    // The export: the data folder's database is only read, the format follows the file's
    // extension, nothing is printed. Any failure is one Polish line on `err`, exit code 1, and
    // no file written or changed. "--help" prints the usage on `out`.
    static int Run(int argc, const char* const argv[], std::ostream& out, std::ostream& err);

    // The usage text of the program's command line.
    static std::string HelpText();
};
