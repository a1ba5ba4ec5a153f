// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "sqlite3x.h"

class QTemporaryDir;

// The database a command-line import works on, opened as the program opens it at start. With no
// database yet it is created as at a first start, data folder included, and removed again (with
// every folder made for it) unless the import is kept; a dry run then works on a scratch database
// in the system's temporary folder and creates nothing in the data folder.
class ImportDatabase {
public:
    ImportDatabase();
    ~ImportDatabase();
    ImportDatabase(const ImportDatabase&) = delete;
    ImportDatabase& operator=(const ImportDatabase&) = delete;

    // Throws ImportError with one Polish sentence: the database is held by another program for
    // more than kHeldMilliseconds, damaged, or cannot be opened or created.
    void open(bool dryRun);
    sqlite3x::connection& connection() { return m_con; }
    // The import is stored: a database made for it stays.
    void keep() { m_keep = true; }

    static constexpr int kHeldMilliseconds = 5000;

private:
    void create();
    void removeCreated();

    sqlite3x::connection m_con;
    std::unique_ptr<QTemporaryDir> m_scratch;
    std::vector<std::filesystem::path> m_createdFolders;  // innermost first
    bool m_createdDatabase = false;
    bool m_keep = false;
};
