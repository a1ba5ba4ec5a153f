// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportedRows.h"

#include <algorithm>
#include <cmath>

#include "Schema.h"
#include "sqlite3x.h"

struct ImportedRows::Statements {
    explicit Statements(sqlite3x::connection& db)
        : importedRow(db, Schema::kCountImportedRow),
          lowest(db, Schema::kLowestOperationNumber),
          renumber(db, Schema::kRenumberOperation),
          moveKeys(db, Schema::kMoveImportKeys),
          count(db, Schema::kCountOperation),
          imported(db, Schema::kSelectImportedOperations),
          texts(db, Schema::kSelectOperationTexts),
          remove(db, Schema::kDeleteOperation) {}
    sqlite3x::command importedRow;
    sqlite3x::command lowest;
    sqlite3x::command renumber;
    sqlite3x::command moveKeys;
    sqlite3x::command count;
    sqlite3x::command imported;
    sqlite3x::command texts;
    sqlite3x::command remove;
};

ImportedRows::ImportedRows(sqlite3x::connection& database) : m_database(database) {}

ImportedRows::~ImportedRows() = default;

void ImportedRows::reset() {
    m_statements.reset();
    m_imported.clear();
    m_present = -1;
}

bool ImportedRows::present() {
    if (m_present < 0) {
        m_present = m_database.execute_int(Schema::kImportKeysExist) != 0 ? 1 : 0;
        if (m_present == 1) {
            Schema::DropRetiredMatchIndex(m_database);
        }
    }
    return m_present == 1;
}

ImportedRows::Statements& ImportedRows::statements() {
    if (!m_statements) {
        m_statements = std::make_unique<Statements>(m_database);
    }
    return *m_statements;
}

ProbableRows& ImportedRows::importedOf(const std::u16string& account) {
    const auto found = m_imported.find(account);
    if (found != m_imported.end()) {
        return found->second;
    }
    ProbableRows& rows = m_imported[account];
    sqlite3x::command& imported = statements().imported;
    imported.bind_text(1, account);
    sqlite3x::reader row = imported.execute_reader();
    while (row.read()) {
        rows.add(row, 0);
    }
    row.close();
    rows.sort();
    return rows;
}

void ImportedRows::moveKeys(const std::u16string& account, int32_t from, int32_t to, bool created) {
    sqlite3x::command& move = statements().moveKeys;
    move.bind_int(1, to);
    move.bind_int(2, created ? 1 : 0);
    move.bind_text(3, account);
    move.bind_int(4, from);
    move.execute();
}

bool ImportedRows::makeWay(const std::u16string& account, const DownloadedOperation& op) {
    Statements& s = statements();
    s.importedRow.bind_text(1, account);
    s.importedRow.bind_int(2, op.tid);
    if (s.importedRow.execute_int() != 0) {
        s.lowest.bind_text(1, account);
        const int32_t moved = std::min(s.lowest.execute_int(), 0) - 1;
        s.renumber.bind_int(1, moved);
        s.renumber.bind_text(2, account);
        s.renumber.bind_int(3, op.tid);
        s.renumber.execute();
        moveKeys(account, op.tid, moved, true);
        if (const auto rows = m_imported.find(account); rows != m_imported.end()) {
            rows->second.renumber(op.tid, moved);
        }
    }
    s.count.bind_int(1, op.tid);
    s.count.bind_text(2, account);
    if (s.count.execute_int() != 0) {
        return false;  // downloaded before: stored over as always
    }
    const ProbableRows::Operation alike{op.direction, std::llround(op.amount * 100), op.postingDate,
                                        op.counterpartyAccount, op.title};
    const std::optional<int32_t> found = importedOf(account).take(alike, s.texts);
    if (!found) {
        return false;
    }
    const int32_t match = *found;
    s.remove.bind_int(1, match);
    s.remove.bind_text(2, account);
    s.remove.execute();
    moveKeys(account, match, op.tid, false);
    return true;
}
