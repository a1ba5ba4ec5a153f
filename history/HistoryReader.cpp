// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryReader.h"

#include <QHash>
#include <QString>
#include <algorithm>
#include <cstring>
#include <utility>

#include "Schema.h"

namespace {

QString toQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// SQLite sorts the whole rows of the full list through temporary files, which takes several
// times longer than reading them. The full list is therefore read unsorted and put in the
// same order in memory (HistoryEntries::sortLikeHistoryQuery).
constexpr const char* kSelectHistoryUnsorted = "SELECT * FROM transactions";

// Rows to reserve for: the highest row number, which is the row count unless operations
// were deleted. Reserved but unused room is never touched, so it costs no memory.
size_t expectedRows(sqlite3x::connection& con) {
    constexpr int32_t kMostReserved = 50'000'000;
    try {
        return static_cast<size_t>(std::clamp(HistoryReader::HighestRow(con), 0, kMostReserved));
    } catch (const std::exception&) {
        return 0;
    }
}

// The columns of a `SELECT *` are addressed by name; the names are resolved once per query.
class ColumnIndexes {
public:
    explicit ColumnIndexes(sqlite3x::reader& reader) {
        for (int i = 0; i < reader.column_count(); ++i) {
            m_names.insert(toQString(reader.column_name(i)), i);
        }
    }
    int operator()(const char16_t* name) const {
        const auto found = m_names.constFind(QString::fromUtf16(name));
        if (found == m_names.constEnd()) {
            throw sqlite3x::database_error("no such column");
        }
        return *found;
    }

private:
    QHash<QString, int> m_names;
};

void readAccountNames(sqlite3x::connection& con, HistoryEntries& entries) {
    sqlite3x::command cmd(con, Schema::kSelectAccountNames);
    sqlite3x::reader reader = cmd.execute_reader();
    while (reader.read()) {
        entries.setAccountName(reader.get_view(0), reader.get_view(1));
    }
}

void readRows(sqlite3x::command& cmd, HistoryEntries& entries) {
    sqlite3x::reader reader = cmd.execute_reader();
    const ColumnIndexes column(reader);
    const int id = column(u"t_id"), fromAcc = column(u"t_from_acc"),
              fromName = column(u"t_from_name"), desc = column(u"t_desc"),
              amount = column(u"t_amount"), toAcc = column(u"t_to_acc"), tid = column(u"t_tid"),
              tio = column(u"t_tio"), date1 = column(u"t_date1"), date2 = column(u"t_date2"),
              kind = column(u"t_class");
    while (reader.read()) {
        HistoryEntries::Row row;
        row.id = reader.get_int(id);
        row.amount = reader.get_double(amount);
        row.tid = reader.get_int(tid);
        row.direction = reader.get_int(tio);
        row.operationDate = reader.get_int64(date1);
        row.bookingDate = reader.get_int64(date2);
        row.kind = reader.get_int(kind);
        // The views stay valid until the next row: each text is copied once, into the entries.
        // The program's files hold UTF-16; SQLite converts the texts of a UTF-8 file (one the
        // sqlite3 shell wrote) on the way.
        entries.append(row,
                       HistoryEntries::Texts{reader.get_view(fromAcc), reader.get_view(fromName),
                                             reader.get_view(desc), reader.get_view(toAcc)});
    }
    reader.close();
}

}  // namespace

namespace HistoryReader {

void Read(sqlite3x::connection& con, const char* query, HistoryEntries& entries) {
    readAccountNames(con, entries);
    const bool fullList = std::strcmp(query, Schema::kSelectHistory) == 0;
    entries.reserve(expectedRows(con));
    sqlite3x::command cmd(con, fullList ? kSelectHistoryUnsorted : query);
    readRows(cmd, entries);
    if (fullList) {
        entries.sortLikeHistoryQuery();
    }
}

void ReadRows(sqlite3x::connection& con, int64_t first, int64_t last, size_t reserve,
              HistoryEntries& entries) {
    entries.reserve(reserve);
    bool once = true;
    ReadRanges(
        con,
        [&](int64_t& from, int64_t& to) {
            from = first;
            to = last;
            return std::exchange(once, false);
        },
        entries);
}

void ReadRanges(sqlite3x::connection& con, const std::function<bool(int64_t&, int64_t&)>& next,
                HistoryEntries& entries) {
    readAccountNames(con, entries);
    sqlite3x::command cmd(con, "SELECT * FROM transactions WHERE rowid BETWEEN ?1 AND ?2");
    int64_t first = 0;
    int64_t last = 0;
    while (next(first, last)) {
        cmd.bind_int64(1, first);
        cmd.bind_int64(2, last);
        readRows(cmd, entries);
    }
}

int32_t HighestRow(sqlite3x::connection& con) {
    return con.execute_int("SELECT IFNULL(MAX(rowid), 0) FROM transactions");
}

}  // namespace HistoryReader
