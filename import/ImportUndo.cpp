// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportUndo.h"

#include "ImportError.h"
#include "Schema.h"
#include "sqlite3x.h"

#include <QString>

#include <utility>

ImportUndo::ImportUndo(sqlite3x::connection& database) : m_database(database) {}

std::vector<ImportBatchInfo> ImportUndo::batches() {
    std::vector<ImportBatchInfo> list;
    if (m_database.execute_int(Schema::kImportBatchesExist) == 0) {
        return list;
    }
    sqlite3x::command select(m_database, Schema::kSelectImportBatches);
    sqlite3x::reader row = select.execute_reader();
    while (row.read()) {
        list.push_back({row.get_int64(0), row.get_string(1), row.get_string(2), row.get_int64(3),
                        row.get_int(4), row.get_int(5), row.get_int(6), row.get_int(7)});
    }
    return list;
}

int ImportUndo::undo(int64_t batch) {
    try {
        sqlite3x::transaction transaction(m_database);
        if (m_database.execute_int(Schema::kImportBatchesExist) == 0) {
            throw ImportError("Tego importu nie ma już w bazie danych.");
        }
        sqlite3x::command exists(m_database, Schema::kCountImportBatch);
        exists.bind_int64(1, batch);
        if (exists.execute_int() == 0) {
            throw ImportError("Tego importu nie ma już w bazie danych.");
        }
        std::vector<std::pair<std::u16string, int32_t>> rows;
        sqlite3x::command select(m_database, Schema::kSelectBatchRows);
        select.bind_int64(1, batch);
        sqlite3x::reader row = select.execute_reader();
        while (row.read()) {
            rows.emplace_back(row.get_string(0), row.get_int(1));
        }
        row.close();
        sqlite3x::command removeRow(m_database, Schema::kDeleteOperation);
        sqlite3x::command removeKeys(m_database, Schema::kDeleteRowKeys);
        for (const auto& [account, tid] : rows) {
            removeRow.bind_int(1, tid);
            removeRow.bind_text(2, account);
            removeRow.execute();
            removeKeys.bind_text(1, account);
            removeKeys.bind_int(2, tid);
            removeKeys.execute();
        }
        for (const char* statement :
             {Schema::kDeleteBatchCreatedKeys, Schema::kDeleteImportBatch}) {
            sqlite3x::command remove(m_database, statement);
            remove.bind_int64(1, batch);
            remove.execute();
        }
        transaction.commit();
        return int(rows.size());
    } catch (const sqlite3x::database_error& error) {
        throw ImportError(
            QStringLiteral("Cofnięcie importu się nie udało (%1); niczego nie zmieniono.")
                .arg(QString::fromUtf8(error.what()))
                .toStdString());
    }
}
