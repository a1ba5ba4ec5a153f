// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <algorithm>
#include <iterator>

namespace {

using Command = CommandLine::Command;

// The commands an option of a command works with; the message names them as written here.
struct Scope {
    Command first;
    Command second;  // the same as first when only one
    const char* names;
};
constexpr Scope kExportOnly{Command::Export, Command::Export, "--export"};
constexpr Scope kImportOnly{Command::Import, Command::Import, "--import"};
constexpr Scope kExportOrImport{Command::Export, Command::Import, "--export lub --import"};

struct Option {
    const char* name;
    bool takesValue;
    Command command;     // Window: not a command of its own
    const Scope* scope;  // an option of some commands only; null: of none in particular
};

constexpr Option kOptions[] = {
    {"--help", false, Command::Help, nullptr},
    {"--export", true, Command::Export, nullptr},
    {"--import", true, Command::Import, nullptr},
    {"--backup", true, Command::Backup, nullptr},
    {"--passwords-to-keyring", false, Command::PasswordsToKeyring, nullptr},
    {"--account", true, Command::Window, &kExportOrImport},
    {"--from", true, Command::Window, &kExportOnly},
    {"--to", true, Command::Window, &kExportOnly},
    {"--format", true, Command::Window, &kImportOnly},
    {"--encoding", true, Command::Window, &kImportOnly},
    {"--profile", true, Command::Window, &kImportOnly},
    {"--dry-run", false, Command::Window, &kImportOnly},
    {"--ignore-balance", false, Command::Window, &kImportOnly},
    {"--demo", false, Command::Window, nullptr},
};

constexpr const char* kSeeHelp = " Opis opcji: tavro --help";

const Option* find(const std::string& arg) {
    const auto* found = std::find_if(std::begin(kOptions), std::end(kOptions),
                                     [&](const Option& option) { return arg == option.name; });
    return found == std::end(kOptions) ? nullptr : found;
}

}  // namespace

std::vector<std::string> CommandLine::Arguments(int argc, const char* const argv[]) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return args;
}

bool CommandLine::NamesCommand(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        const Option* option = find(arg);
        // A command's own option without its command is a mistake to report, not a window to open.
        return option != nullptr &&
               (option->command != Command::Window || option->scope != nullptr);
    });
}

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine line;
    // A stray word is harmless for the window (a desktop may pass one) but not for a command.
    std::string strayWord;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const Option* option = find(arg);
        if (option == nullptr) {
            if (arg.rfind("--", 0) == 0) {
                line.fail("Nieznana opcja: \"" + arg + "\"." + kSeeHelp);
            } else if (strayWord.empty()) {
                strayWord = arg;
            }
            continue;
        }
        if (!option->takesValue) {
            line.take(arg, {});
        } else if (i + 1 < args.size()) {
            line.take(arg, args[++i]);
        } else {
            line.fail("Brak wartości opcji " + arg + ".");
        }
    }
    if (line.m_command == Command::Help) {
        line.m_error.clear();  // the usage answers whatever else was asked
        return line;
    }
    if (line.m_error.empty() && line.m_command != Command::Window && !strayWord.empty()) {
        line.fail("Nieznana opcja: \"" + strayWord + "\"." + kSeeHelp);
    }
    if (line.m_error.empty()) {
        line.checkCombination();
    }
    return line;
}

void CommandLine::take(const std::string& name, const std::string& value) {
    const Option& option = *find(name);
    if (option.command == Command::Help) {
        m_command = Command::Help;
        m_commandOption = name;
        return;
    }
    if (option.command != Command::Window) {
        setCommand(option.command, name);
        m_file = value;
        return;
    }
    if (option.scope != nullptr &&
        std::find(m_scoped.begin(), m_scoped.end(), name) == m_scoped.end()) {
        m_scoped.push_back(name);
    }
    if (name == "--demo") {
        m_demo = true;
    } else if (name == "--dry-run") {
        m_dryRun = true;
    } else if (name == "--ignore-balance") {
        m_ignoreBalance = true;
    } else {
        (name == "--account"   ? m_account
         : name == "--from"    ? m_from
         : name == "--to"      ? m_to
         : name == "--format"  ? m_format
         : name == "--profile" ? m_profile
                               : m_encoding) = value;
    }
}

void CommandLine::setCommand(Command command, const std::string& option) {
    if (m_command == Command::Help) {
        return;
    }
    if (m_command != Command::Window && m_command != command) {
        fail("Opcji " + m_commandOption + " i " + option + " nie można użyć razem.");
        return;
    }
    m_command = command;
    m_commandOption = option;
}

void CommandLine::checkCombination() {
    const auto misplaced =
        std::find_if(m_scoped.begin(), m_scoped.end(), [this](const std::string& name) {
            const Scope& scope = *find(name)->scope;
            return m_command != scope.first && m_command != scope.second;
        });
    if (misplaced != m_scoped.end()) {
        fail("Opcja " + *misplaced + " działa tylko z " + find(*misplaced)->scope->names + "." +
             kSeeHelp);
    } else if (m_command != Command::Window && m_demo) {
        fail("Opcja --demo uruchamia okno programu; nie działa z " + m_commandOption + ".");
    } else if ((m_command == Command::Export || m_command == Command::Import ||
                m_command == Command::Backup) &&
               m_file.empty()) {
        fail("Brak nazwy pliku: tavro " + m_commandOption + " PLIK." + kSeeHelp);
    }
}

void CommandLine::fail(const std::string& message) {
    if (m_error.empty()) {
        m_error = message;
    }
}

std::string CommandLine::HelpText() {
    return "Użycie:\n"
           "  tavro                  uruchamia program\n"
           "  tavro --demo           uruchamia program na symulowanym banku z przykładową\n"
           "                         historią, w osobnym folderze danych demonstracyjnych\n"
           "  tavro --export PLIK [--account NUMER] [--from RRRR-MM-DD] [--to RRRR-MM-DD]\n"
           "                         zapisuje historię operacji do pliku, bez okna;\n"
           "                         format wynika z rozszerzenia: .xml, .ofx albo .csv\n"
           "  tavro --import PLIK [--account NUMER] [--format FORMAT] [--encoding KODOWANIE]\n"
           "              [--profile NAZWA] [--dry-run] [--ignore-balance]\n"
           "                         dopisuje do historii operacje z wyciągu bankowego\n"
           "                         (MT940, camt.053, OFX, CSV banku, eksport Tavro), bez okna\n"
           "  tavro --backup PLIK    zapisuje kopię bazy danych do nowego pliku, bez okna\n"
           "  tavro --passwords-to-keyring\n"
           "                         przenosi hasła do banków z pliku danych do portfela\n"
           "                         systemowego (Secret Service), bez okna\n"
           "  tavro --help           wypisuje ten opis\n"
           "\n"
           "  --account NUMER        eksport: tylko operacje tego rachunku (spacje są\n"
           "                         pomijane); import: rachunek wyciągu, który go nie\n"
           "                         podaje, a gdy podaje, musi być ten sam\n"
           "  --from RRRR-MM-DD      tylko operacje zaksięgowane tego dnia lub później\n"
           "  --to RRRR-MM-DD        tylko operacje zaksięgowane tego dnia lub wcześniej\n"
           "  --format FORMAT        format wyciągu zamiast rozpoznanego z treści: mt940,\n"
           "                         camt (camt.053), ofx, csv albo xml (eksport Tavro)\n"
           "  --encoding KODOWANIE   strona kodowa wyciągu zamiast rozpoznanej: UTF-8,\n"
           "                         windows-1250, ISO-8859-2 albo CP852\n"
           "  --profile NAZWA        profil CSV, którym czytać plik CSV z banku; bez tej\n"
           "                         opcji profil jest rozpoznawany po wierszu nagłówka\n"
           "  --dry-run              tylko liczy, co import by zapisał; niczego nie zapisuje\n"
           "  --ignore-balance       importuje mimo sald wyciągu niezgodnych z operacjami\n"
           "\n"
           "Eksport czyta bazę z folderu danych programu tylko do odczytu, więc działa też\n"
           "przy uruchomionym programie. Plik OFX opisuje jeden rachunek: gdy operacje\n"
           "należą do kilku, każdy dostaje własny plik z czterema ostatnimi cyframi numeru\n"
           "przed rozszerzeniem. Przy błędzie żaden plik nie jest zapisywany ani zmieniany.\n"
           "\n"
           "Import najpierw wczytuje i sprawdza cały plik (najwyżej 256 MiB), potem zapisuje\n"
           "go w całości albo wcale; nie działa przy uruchomionym programie. Dla każdego\n"
           "rachunku wypisuje wiersz \"NUMER: nowe N, już zapisane M, prawdopodobnie\n"
           "zapisane P, pominięte K\". Operacje już zapisane (także pobrane z banku) nie są\n"
           "dopisywane drugi raz.\n"
           "\n"
           "Kopia bazy danych powstaje także przy uruchomionym programie i jest sprawdzana\n"
           "przed zapisaniem; istniejący plik nigdy nie jest zastępowany. Aby wrócić do\n"
           "kopii, zamknij program i połóż ją w folderze danych w miejsce pliku bazy.\n"
           "\n"
           "Okno programu przyjmuje też opcje Qt, np. -platform wayland albo -style fusion.\n";
}
