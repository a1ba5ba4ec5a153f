// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command line, read once for every entry point:
//   tavro [--demo]                 the window (Qt's own options, such as -platform, pass through)
//   tavro --export FILE [--account NUMBER] [--from YYYY-MM-DD] [--to YYYY-MM-DD]
//   tavro --import FILE [--account NUMBER] [--format mt940|camt|ofx|csv|xml] [--encoding NAME]
//                       [--profile NAME]
//                       [--dry-run] [--ignore-balance]
//   tavro --backup FILE
//   tavro --passwords-to-keyring
//   tavro --help
// An option that starts with "--" and that neither Tavro nor Qt knows is an error, so a typing
// mistake never silently starts the window.

#include <string>
#include <vector>

class CommandLine {
public:
    enum class Command { Window, Help, Export, Import, Backup, PasswordsToKeyring };

    // The arguments after the program's name. Before the application object exists Qt's options
    // are still among them, so only a command is looked for: `NamesCommand` says whether the
    // arguments ask for one, or give an option only a command takes (and then Qt does not run at
    // all).
    static bool NamesCommand(const std::vector<std::string>& args);
    static CommandLine Parse(const std::vector<std::string>& args);
    static std::vector<std::string> Arguments(int argc, const char* const argv[]);

    // The usage text that --help prints.
    static std::string HelpText();

    // Empty when the arguments are sound; else one complete Polish line.
    const std::string& error() const { return m_error; }
    Command command() const { return m_command; }
    bool demo() const { return m_demo; }
    const std::string& file() const { return m_file; }  // of --export, --import or --backup
    // As given; the command checks and normalises them.
    const std::string& account() const { return m_account; }
    const std::string& from() const { return m_from; }
    const std::string& to() const { return m_to; }
    const std::string& format() const { return m_format; }
    const std::string& encoding() const { return m_encoding; }
    const std::string& profile() const { return m_profile; }  // a CSV profile's name
    bool dryRun() const { return m_dryRun; }
    bool ignoreBalance() const { return m_ignoreBalance; }

private:
    void take(const std::string& name, const std::string& value);
    void setCommand(Command command, const std::string& option);
    void fail(const std::string& message);
    void checkCombination();

    Command m_command = Command::Window;
    std::string m_commandOption;  // "--export", for messages
    bool m_demo = false;
    bool m_dryRun = false;
    bool m_ignoreBalance = false;
    std::string m_file, m_account, m_from, m_to, m_format, m_encoding, m_profile;
    // Options given that only some commands take, for the check of the command.
    std::vector<std::string> m_scoped;
    std::string m_error;
};
