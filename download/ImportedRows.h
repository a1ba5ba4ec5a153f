// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps operations imported from statement files out of a downloaded operation's way: the bank
// module's operation always keeps its number, and replaces an imported copy of itself.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ProbableRows.h"

namespace sqlite3x {
class connection;
}

// What of a downloaded operation is compared with imported rows.
struct DownloadedOperation {
    int32_t tid = 0;
    int32_t direction = 0;
    double amount = 0.0;
    int64_t postingDate = 0;
    std::u16string counterpartyAccount;
    std::u16string title;
};

class ImportedRows {
public:
    explicit ImportedRows(sqlite3x::connection& database);
    ~ImportedRows();
    ImportedRows(const ImportedRows&) = delete;
    ImportedRows& operator=(const ImportedRows&) = delete;

    // Nothing to do until a file has been imported; asked once a job, which also drops the index
    // earlier builds kept for matching. Throws sqlite3x::database_error.
    bool present();
    // Before the downloaded operation is stored: an imported row holding its number moves to a
    // new number below the lowest of the account (its keys with it); then, when the number is
    // free, an imported row much like the operation (same direction and amount, posting dates at
    // most three days apart, same counterparty account or title) is deleted and its keys move to
    // the operation's number. True when an imported row was so replaced. Throws
    // sqlite3x::database_error.
    bool makeWay(const std::u16string& account, const DownloadedOperation& op);
    // Starts a job: statements, imported rows and the answer of present() are made anew.
    void reset();

private:
    struct Statements;
    Statements& statements();
    // The account's imported rows, read at the first operation of the job that may be one.
    ProbableRows& importedOf(const std::u16string& account);
    void moveKeys(const std::u16string& account, int32_t from, int32_t to, bool created);

    sqlite3x::connection& m_database;
    std::unique_ptr<Statements> m_statements;
    std::map<std::u16string, ProbableRows> m_imported;
    int m_present = -1;  // unknown
};
