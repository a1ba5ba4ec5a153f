#pragma once

#include <stdexcept>
#include <string>

#include "ModuleInterface.h"
#include "Schema.h"
#include "Windows1250Decoder.h"

namespace sqlite3x {
class connection;
}

// Stores the operations of one job: replaces a stored copy of the same operation (same bank
// number on the same own account) and tells whether it is new. After a failed delete or
// insert the job must be rolled back, since an operation may be gone; failed() says so.
class OperationStore {
public:
    OperationStore(sqlite3x::connection& database, Schema::ConsoleLine console);

    // True when no copy was stored before. Never throws.
    bool store(const std::u16string& account, const OperationRecord& record);

    bool failed() const { return m_failed; }
    // SQLite's result code of the failure (0 when it was no database error).
    int failureCode() const { return m_failureCode; }
    void reset() {
        m_failed = false;
        m_failureCode = 0;
    }

    // The account field of a query, read within its buffer.
    static std::u16string AccountOf(const HistoryQuery& query);

private:
    bool isNew(const std::u16string& account, int32_t tid);
    void fail(int32_t tid, const std::exception& error);
    void replace(const std::u16string& account, const OperationRecord& record);

    sqlite3x::connection& m_database;
    Schema::ConsoleLine m_console;
    Windows1250Decoder m_decoder;
    bool m_failed = false;
    int m_failureCode = 0;
};
