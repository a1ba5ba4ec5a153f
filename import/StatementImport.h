// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The import step: a whole statement file stored in one transaction, or nothing. Each operation
// is new, already stored (its key is known, or its own number is there), or probably already
// stored (linked to a downloaded row much like it); pending entries are skipped.

#include "Statement.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sqlite3x {
class command;
class connection;
}  // namespace sqlite3x

struct ImportRequest {
    std::u16string fileName;
    std::string sha256;                     // of the file's bytes, lower-case hex
    std::optional<std::u16string> account;  // the number the user gave for the file
    bool dryRun = false;                    // count everything, store nothing
    bool ignoreBalance = false;
    int64_t time = 0;  // when the import runs, seconds since 1970 UTC
};

struct AccountCounts {
    std::u16string account;  // 26 digits
    int stored = 0;          // nowe
    int known = 0;           // już zapisane
    int probable = 0;        // prawdopodobnie zapisane
    int skipped = 0;         // pominięte: pending and informational entries
};

struct ImportSummary {
    std::vector<AccountCounts> accounts;  // in the order the accounts first appear in the file
    bool importedBefore = false;          // a file with the same SHA-256 was imported before
};

class StatementImport {
public:
    explicit StatementImport(sqlite3x::connection& database);
    ~StatementImport();
    StatementImport(const StatementImport&) = delete;
    StatementImport& operator=(const StatementImport&) = delete;

    // Checks the file (accounts, currency, balances) before the database is touched, then stores
    // it in one transaction. Throws ImportError; nothing is stored then.
    ImportSummary run(const StatementFile& file, const ImportRequest& request);

    static std::string Sha256Hex(const std::string& bytes);
    // Stores one operation as row `tid` of `account` through a prepared kInsertOperation.
    static void InsertOperation(sqlite3x::command& insert, const std::u16string& account,
                                const StatementOperation& op, int32_t tid);
    static const char* FormatName(StatementFormat format);

private:
    struct Statements;
    struct AccountOperations;
    static std::vector<AccountOperations> ByAccount(const StatementFile& file,
                                                    const std::optional<std::u16string>& given);
    bool importedBefore(const std::string& sha256);
    int64_t beginBatch(StatementFormat format, const ImportRequest& request);
    void endBatch(int64_t batch, const AccountCounts& total);
    void ensureAccount(const AccountOperations& account);
    void findKnown(AccountOperations& account);
    void readProbable(std::vector<AccountOperations>& accounts);
    void storeAccount(AccountOperations& account, int64_t batch, AccountCounts& counts);
    void insertKey(const std::u16string& account, const std::u16string& key, int32_t tid,
                   int64_t batch, bool created);

    sqlite3x::connection& m_database;
    std::unique_ptr<Statements> m_statements;
};
