#include "ExportCommand.h"

#include "AppPaths.h"
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
    bool help = false;
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

Options parse(int argc, const char* const argv[]) {
    Options options;
    bool exporting = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            options.help = true;
            continue;
        }
        if (arg != "--export" && arg != "--account" && arg != "--from" && arg != "--to") {
            throw CommandError("Nieznana opcja: \"" + arg + "\". Opis opcji: tavro --help");
        }
        if (i + 1 >= argc) {
            throw CommandError("Brak wartości opcji " + arg + ".");
        }
        const std::string value = argv[++i];
        if (arg == "--export") {
            exporting = true;
            options.file = value;
        } else if (arg == "--account") {
            options.account = NormalizeNRB(widen(value));
            options.accountText = value;
        } else if (arg == "--from") {
            options.from = parseDate(value);
        } else {
            options.to = parseDate(value);
        }
    }
    if (options.help) {
        return options;
    }
    if (!exporting || options.file.empty()) {
        throw CommandError("Brak nazwy pliku: tavro --export PLIK. Opis opcji: tavro --help");
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

bool ExportCommand::Handles(int argc, const char* const argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--export" || arg == "--help") {
            return true;
        }
    }
    return false;
}

int ExportCommand::Run(int argc, const char* const argv[], std::ostream& out, std::ostream& err) {
    try {
        const Options options = parse(argc, argv);
        if (options.help) {
            out << HelpText();
            return 0;
        }
        exportHistory(options);
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

std::string ExportCommand::HelpText() {
    return "Użycie:\n"
           "  tavro                  uruchamia program\n"
           "  tavro --demo           uruchamia program na symulowanym banku z przykładową\n"
           "                         historią, w osobnym folderze danych demonstracyjnych\n"
           "  tavro --export PLIK [--account NUMER] [--from RRRR-MM-DD] [--to RRRR-MM-DD]\n"
           "                         zapisuje historię operacji do pliku, bez okna;\n"
           "                         format wynika z rozszerzenia: .xml, .ofx albo .csv\n"
           "  tavro --help           wypisuje ten opis\n"
           "\n"
           "  --account NUMER        tylko operacje tego rachunku (spacje są pomijane)\n"
           "  --from RRRR-MM-DD      tylko operacje zaksięgowane tego dnia lub później\n"
           "  --to RRRR-MM-DD        tylko operacje zaksięgowane tego dnia lub wcześniej\n"
           "\n"
           "Eksport czyta bazę z folderu danych programu tylko do odczytu, więc działa też\n"
           "przy uruchomionym programie. Plik OFX opisuje jeden rachunek: gdy operacje\n"
           "należą do kilku, każdy dostaje własny plik z czterema ostatnimi cyframi numeru\n"
           "przed rozszerzeniem. Przy błędzie żaden plik nie jest zapisywany ani zmieniany.\n";
}
