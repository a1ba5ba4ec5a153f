// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <algorithm>
#include <iterator>

namespace {

struct Option {
    const char* name;
    bool takesValue;
    CommandLine::Command command;  // Window: not a command of its own
};

constexpr Option kOptions[] = {
    {"--help", false, CommandLine::Command::Help},
    {"--export", true, CommandLine::Command::Export},
    {"--backup", true, CommandLine::Command::Backup},
    {"--passwords-to-keyring", false, CommandLine::Command::PasswordsToKeyring},
    {"--account", true, CommandLine::Command::Window},
    {"--from", true, CommandLine::Command::Window},
    {"--to", true, CommandLine::Command::Window},
    {"--demo", false, CommandLine::Command::Window},
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
        return option != nullptr && option->command != Command::Window;
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

void CommandLine::take(const std::string& option, const std::string& value) {
    if (option == "--help") {
        m_command = Command::Help;
        m_commandOption = option;
    } else if (option == "--demo") {
        m_demo = true;
    } else if (option == "--export") {
        setCommand(Command::Export, option);
        m_file = value;
    } else if (option == "--backup") {
        setCommand(Command::Backup, option);
        m_file = value;
    } else if (option == "--passwords-to-keyring") {
        setCommand(Command::PasswordsToKeyring, option);
    } else {
        if (std::find(m_exportOnly.begin(), m_exportOnly.end(), option) == m_exportOnly.end()) {
            m_exportOnly.push_back(option);
        }
        (option == "--account" ? m_account : option == "--from" ? m_from : m_to) = value;
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
    if (m_command != Command::Export && !m_exportOnly.empty()) {
        fail("Opcja " + m_exportOnly.front() + " działa tylko z --export." + kSeeHelp);
    } else if (m_command != Command::Window && m_demo) {
        fail("Opcja --demo uruchamia okno programu; nie działa z " + m_commandOption + ".");
    } else if ((m_command == Command::Export || m_command == Command::Backup) && m_file.empty()) {
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
           "  tavro --backup PLIK    zapisuje kopię bazy danych do nowego pliku, bez okna\n"
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
           "przed rozszerzeniem. Przy błędzie żaden plik nie jest zapisywany ani zmieniany.\n"
           "\n"
           "Kopia bazy danych powstaje także przy uruchomionym programie i jest sprawdzana\n"
           "przed zapisaniem; istniejący plik nigdy nie jest zastępowany. Aby wrócić do\n"
           "kopii, zamknij program i połóż ją w folderze danych w miejsce pliku bazy.\n"
           "\n"
           "Okno programu przyjmuje też opcje Qt, np. -platform wayland albo -style fusion.\n";
}
