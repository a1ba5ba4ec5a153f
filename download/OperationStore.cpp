// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationStore.h"

#include <cstring>

#include "StorageFailure.h"
#include "TextFormat.h"
#include "sqlite3x.h"

struct OperationStore::Statements {
    explicit Statements(sqlite3x::connection& database)
        : count(database, Schema::kCountOperation),
          remove(database, Schema::kDeleteOperation),
          insert(database, Schema::kInsertOperation) {}
    sqlite3x::command count;
    sqlite3x::command remove;
    sqlite3x::command insert;
};

OperationStore::OperationStore(sqlite3x::connection& database, Schema::ConsoleLine console)
    : m_database(database), m_console(std::move(console)), m_imported(database) {}

OperationStore::~OperationStore() = default;

void OperationStore::reset() {
    m_failed = false;
    m_failureCode = 0;
    m_statements.reset();
    m_imported.reset();
}

OperationStore::Statements& OperationStore::statements() {
    if (!m_statements) {
        m_statements = std::make_unique<Statements>(m_database);
    }
    return *m_statements;
}

std::u16string OperationStore::AccountOf(const HistoryQuery& query) {
    const size_t length = strnlen(query.account, sizeof query.account);
    std::u16string account;
    for (size_t i = 0; i < length; ++i) {
        account += static_cast<char16_t>(static_cast<unsigned char>(query.account[i]));
    }
    return account;
}

bool OperationStore::store(const std::u16string& account, const OperationRecord& record) {
    if (m_failed) {
        return false;  // the job is rolled back anyway
    }
    const bool replaced = replacesImported(account, record);
    const bool fresh = !replaced && isNew(account, record.tid);
    if (m_failed) {
        return false;
    }
    try {
        replace(account, record);
    } catch (const std::exception& e) {
        fail(record.tid, e);
        return false;
    }
    return fresh;
}

// Operations imported from statement files give way to the bank's own; an imported copy the
// operation replaces does not make it new.
bool OperationStore::replacesImported(const std::u16string& account,
                                      const OperationRecord& record) {
    try {
        if (!m_imported.present()) {
            return false;
        }
        DownloadedOperation op;
        op.tid = record.tid;
        op.direction = record.direction;
        op.amount = record.amount;
        op.postingDate = record.postingDate;
        op.counterpartyAccount = m_decoder.decode(record.counterpartyAccount);
        op.title = m_decoder.decode(record.title);
        return m_imported.makeWay(account, op);
    } catch (const std::exception& e) {
        fail(record.tid, e);
        return false;
    }
}

void OperationStore::fail(int32_t tid, const std::exception& error) {
    m_failed = true;
    const auto* database = dynamic_cast<const sqlite3x::database_error*>(&error);
    m_failureCode = database ? database->code() : 0;
    if (m_console) {
        m_console(FormatText("\tBłąd zapisu operacji %d: %s", tid, error.what()));
    }
}

// A count that fails is no reason to stop: the operation is just not counted as new. Unless
// SQLite has rolled the job's whole transaction back (it does after an I/O error, a full disk
// or a lost lock): storing on would then commit every operation on its own.
bool OperationStore::isNew(const std::u16string& account, int32_t tid) {
    const bool inTransaction = m_database.in_transaction();
    try {
        sqlite3x::command& count = statements().count;
        count.bind_int(1, tid);
        count.bind_text(2, account);
        return count.execute_int() == 0;
    } catch (const std::exception& e) {
        // A lock held by another program would only be waited for again by the delete.
        const auto* database = dynamic_cast<const sqlite3x::database_error*>(&e);
        const bool busy = database && StorageFailure::IsBusy(database->code());
        if (busy || (inTransaction && !m_database.in_transaction())) {
            fail(tid, e);
        }
        return false;
    }
}

void OperationStore::replace(const std::u16string& account, const OperationRecord& record) {
    Statements& prepared = statements();
    sqlite3x::command& remove = prepared.remove;
    remove.bind_int(1, record.tid);
    remove.bind_text(2, account);
    remove.execute();
    sqlite3x::command& insert = prepared.insert;
    insert.bind_text(1, m_decoder.decode(record.counterpartyAccount));
    insert.bind_text(2, m_decoder.decode(record.counterpartyName));
    insert.bind_text(3, m_decoder.decode(record.title));
    insert.bind_double(4, record.amount);
    insert.bind_int(5, record.tid);
    insert.bind_int(6, record.direction);
    insert.bind_int64(7, record.operationDate);
    insert.bind_int64(8, record.postingDate);
    insert.bind_text(9, account);
    insert.bind_text(10, std::u16string());
    insert.bind_int(11, record.kind);
    insert.execute();
}
