#include "ExportCommand.h"

#include "AppPaths.h"
#include "CWndExportFiles.h"
#include "Nrb.h"
#include "Schema.h"
#include "sqlite3x.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kBusyMilliseconds = 5000;

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

int localDay(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return 0;
    }
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
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

std::map<std::u16string, std::u16string> accountNames(sqlite3x::connection& db) {
    std::map<std::u16string, std::u16string> names;
    sqlite3x::command cmd(db, Schema::kSelectAccountNames);
    sqlite3x::reader reader = cmd.execute_reader();
    while (reader.read()) {
        names.emplace(reader.get_string(0), reader.get_string(1));
    }
    return names;
}

// The operations in the main list's order, narrowed by the options. `accountSeen` tells whether
// the chosen account owns any operation at all.
std::vector<ExportOperation> readOperations(sqlite3x::connection& db, const Options& options,
                                            bool& accountSeen) {
    const std::map<std::u16string, std::u16string> names = accountNames(db);
    accountSeen = options.account.empty() || names.count(options.account) != 0;
    std::vector<ExportOperation> ops;
    sqlite3x::command cmd(db, Schema::kSelectHistory);
    sqlite3x::reader reader = cmd.execute_reader();
    while (reader.read()) {
        ExportOperation op;
        op.ownAccount = reader.get_string(u"t_to_acc");
        if (!options.account.empty() && op.ownAccount != options.account) {
            continue;
        }
        accountSeen = true;
        op.bookingDate = reader.get_int64(u"t_date2");
        const int day = localDay(op.bookingDate);
        if (day < options.from || day > options.to) {
            continue;
        }
        op.tid = reader.get_int(u"t_tid");
        op.counterpartyAccount = reader.get_string(u"t_from_acc");
        op.operationDate = reader.get_int64(u"t_date1");
        op.counterpartyName = reader.get_string(u"t_from_name");
        op.direction = reader.get_int(u"t_tio");
        op.kind = reader.get_int(u"t_class");
        op.title = reader.get_string(u"t_desc");
        op.amount = reader.get_double(u"t_amount");
        if (const auto name = names.find(op.ownAccount); name != names.end()) {
            op.ownAccountName = name->second;
        }
        ops.push_back(std::move(op));
    }
    return ops;
}

void exportHistory(const Options& options) {
    const std::filesystem::path target(options.file);
    const std::optional<ExportFormat> format = CWndExportFiles::FormatOf(target);
    if (!format) {
        throw CommandError("Nieznany format pliku \"" + options.file +
                           "\": rozszerzenie musi być .xml, .ofx lub .csv.");
    }
    const std::filesystem::path database = AppPaths::databaseFile();
    std::error_code error;
    if (!std::filesystem::is_regular_file(database, error)) {
        throw CommandError("Nie ma bazy danych: " + database.string());
    }
    std::vector<ExportOperation> ops;
    bool accountSeen = false;
    try {
        sqlite3x::connection db;
        db.open_read_only(database.string(), kBusyMilliseconds);
        ops = readOperations(db, options, accountSeen);
    } catch (const sqlite3x::database_error& failure) {
        throw CommandError("Błąd odczytu bazy danych " + database.string() + ": " + failure.what());
    }
    if (!accountSeen) {
        throw CommandError("Nieznany rachunek: " + options.accountText);
    }
    const std::vector<ExportFile> files =
        CWndExportFiles::Build(*format, target, ops, int64_t(std::time(nullptr)), options.account);
    if (files.empty()) {
        throw CommandError(
            "Brak operacji do zapisania w pliku OFX; wskaż rachunek opcją --account.");
    }
    const CWndExportFiles::Outcome outcome = CWndExportFiles::Write(files);
    if (outcome.failure != CWndExportFiles::Failure::None) {
        throw CommandError("Nie można zapisać pliku: " + outcome.path.string());
    }
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
           "  tavro --passwords-to-keyring\n"
           "                         przenosi hasła do banków z pliku danych do portfela\n"
           "                         systemowego (Secret Service), bez okna\n"
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
