// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "ImportedRows.h"
#include "ModuleInterface.h"
#include "Schema.h"
#include "Windows1250Decoder.h"

namespace sqlite3x {
class connection;
class command;
}  // namespace sqlite3x

// Stores the operations of one job: replaces a stored copy of the same operation (same bank
// number on the same own account) and tells whether it is new. After a failed delete or
// insert the job must be rolled back, since an operation may be gone; failed() says so.
// The count, delete and insert are prepared at the job's first operation and reused for the
// rest of it: preparing them anew for every operation took more time than running them.
class OperationStore {
public:
    OperationStore(sqlite3x::connection& database, Schema::ConsoleLine console);
    ~OperationStore();
    OperationStore(const OperationStore&) = delete;
    OperationStore& operator=(const OperationStore&) = delete;

    // True when no copy was stored before (nor an imported one it replaces). Never throws.
    bool store(const std::u16string& account, const OperationRecord& record);

    bool failed() const { return m_failed; }
    // SQLite's result code of the failure (0 when it was no database error).
    int failureCode() const { return m_failureCode; }
    // Starts a job: forgets a failure and the statements of the previous job.
    void reset();

    // The account field of a query, read within its buffer.
    static std::u16string AccountOf(const HistoryQuery& query);

private:
    struct Statements;
    Statements& statements();
    bool isNew(const std::u16string& account, int32_t tid);
    bool replacesImported(const std::u16string& account, const OperationRecord& record);
    void fail(int32_t tid, const std::exception& error);
    void replace(const std::u16string& account, const OperationRecord& record);

    sqlite3x::connection& m_database;
    Schema::ConsoleLine m_console;
    Windows1250Decoder m_decoder;
    ImportedRows m_imported;
    std::unique_ptr<Statements> m_statements;
    bool m_failed = false;
    int m_failureCode = 0;
};
