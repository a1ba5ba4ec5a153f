// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A copy of the database in one command, for the user's backups and scripts:
//   tavro --backup FILE

#include <iosfwd>
#include <string>

class BackupCommand {
public:
    // Copies the data folder's database to `file` through SQLite's online backup, in small steps,
    // so a running Tavro keeps working meanwhile; checks the copy (PRAGMA integrity_check) before
    // it appears under its name, with mode 0600. An existing `file` is never replaced. Nothing is
    // printed on success; any failure is one Polish line on `err`, exit code 1, and no file.
    static int Run(const std::string& file, std::ostream& err);
};
