// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportCommand.h"

#include "AppPaths.h"
#include "CommandLine.h"
#include "HistoryExport.h"
#include "Nrb.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <ostream>
#include <stdexcept>

namespace {

// A failure the user is told about; the text is Polish and complete.
class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string file;
    std::u16string account;   // normalised; empty: every account
    std::string accountText;  // as given, for messages
    int from = 0;             // YYYYMMDD, inclusive; 0: no limit
    int to = 99999999;
};

// Account numbers are digits; anything else only fails to match.
std::u16string widen(const std::string& text) {
    std::u16string out;
    for (const unsigned char c : text) {
        out += static_cast<char16_t>(c);
    }
    return out;
}

// "YYYY-MM-DD" of a real calendar day, as YYYYMMDD.
int parseDate(const std::string& text) {
    const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' &&
                        std::all_of(text.begin(), text.end(), [](char c) {
                            return c == '-' || std::isdigit(static_cast<unsigned char>(c)) != 0;
                        });
    if (shaped) {
        const int y = std::stoi(text.substr(0, 4)), m = std::stoi(text.substr(5, 2)),
                  d = std::stoi(text.substr(8, 2));
        const std::chrono::year_month_day day{std::chrono::year(y), std::chrono::month(unsigned(m)),
                                              std::chrono::day(unsigned(d))};
        if (day.ok()) {
            return y * 10000 + m * 100 + d;
        }
    }
    throw CommandError("Nieprawidłowa data: \"" + text + "\" (oczekiwano RRRR-MM-DD).");
}

// The export's options from the command line; the dates are checked here.
Options optionsOf(const CommandLine& line) {
    Options options;
    options.file = line.file();
    if (!line.account().empty()) {
        options.account = NormalizeNRB(widen(line.account()));
        options.accountText = line.account();
    }
    if (!line.from().empty()) {
        options.from = parseDate(line.from());
    }
    if (!line.to().empty()) {
        options.to = parseDate(line.to());
    }
    if (options.from > options.to) {
        throw CommandError("Data początkowa (--from) jest późniejsza niż końcowa (--to).");
    }
    return options;
}

void exportHistory(const Options& options) {
    HistoryExportRequest request;
    request.database = AppPaths::databaseFile();
    request.target = options.file;
    request.account = options.account;
    request.accountText = options.accountText;
    request.from = options.from;
    request.to = options.to;
    request.now = int64_t(std::time(nullptr));
    HistoryExport::Run(request);
}

}  // namespace

int ExportCommand::Run(const CommandLine& line, std::ostream& err) {
    try {
        exportHistory(optionsOf(line));
        return 0;
    } catch (const CommandError& failure) {
        err << "tavro: " << failure.what() << '\n';
    } catch (const HistoryExportError& failure) {
        err << "tavro: " << failure.what() << '\n';
    } catch (const std::exception& failure) {
        err << "tavro: Błąd: " << failure.what() << '\n';
    }
    return 1;
}
