// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryReader.h"

#include <QHash>
#include <QString>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
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
        const int32_t highest = con.execute_int("SELECT IFNULL(MAX(rowid), 0) FROM transactions");
        return static_cast<size_t>(std::clamp(highest, 0, kMostReserved));
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

// Rows as SQLite gave them, their four texts in one buffer: what the reading thread hands to the
// thread that builds the entries.
struct RowChunk {
    static constexpr size_t kRows = 4096;
    std::vector<HistoryEntries::Row> rows;
    std::vector<size_t> ends;  // four per row: where each text ends in `texts`
    std::u16string texts;
};

// Chunks from the reading thread to the building one; the reader waits when a few are ahead.
class ChunkQueue {
public:
    // False when the builder has given up.
    bool push(RowChunk chunk) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_chunks.size() < kAhead || m_cancelled; });
        if (m_cancelled) {
            return false;
        }
        m_chunks.push_back(std::move(chunk));
        m_changed.notify_all();
        return true;
    }
    // False at the end of the rows (or when reading failed).
    bool pop(RowChunk& chunk) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_chunks.empty() || m_finished; });
        if (m_chunks.empty()) {
            return false;
        }
        chunk = std::move(m_chunks.front());
        m_chunks.pop_front();
        m_changed.notify_all();
        return true;
    }
    void finish(std::exception_ptr failure) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_failure = std::move(failure);
        m_finished = true;
        m_changed.notify_all();
    }
    void cancel() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled = true;
        m_changed.notify_all();
    }
    std::exception_ptr failure() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_failure;
    }

private:
    static constexpr size_t kAhead = 8;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<RowChunk> m_chunks;
    bool m_finished = false;
    bool m_cancelled = false;
    std::exception_ptr m_failure;
};

struct Columns {
    int id, fromAcc, fromName, desc, amount, toAcc, tid, tio, date1, date2, kind;
};

HistoryEntries::Row rowOf(sqlite3x::reader& reader, const Columns& c) {
    HistoryEntries::Row row;
    row.id = reader.get_int(c.id);
    row.amount = reader.get_double(c.amount);
    row.tid = reader.get_int(c.tid);
    row.direction = reader.get_int(c.tio);
    row.operationDate = reader.get_int64(c.date1);
    row.bookingDate = reader.get_int64(c.date2);
    row.kind = reader.get_int(c.kind);
    return row;
}

// The program's files hold UTF-16; SQLite converts the texts of a UTF-8 file (one the sqlite3
// shell wrote) on the way. The views stay valid until the next row.
HistoryEntries::Texts textsOf(sqlite3x::reader& reader, const Columns& c) {
    return {reader.get_view(c.fromAcc), reader.get_view(c.fromName), reader.get_view(c.desc),
            reader.get_view(c.toAcc)};
}

// One thread steps SQLite while this one builds the entries: on two cores the list is read in
// little more than SQLite's own time. A failure on either side ends both and is thrown here.
void readBeside(sqlite3x::reader& reader, const Columns& c, HistoryEntries& entries) {
    ChunkQueue queue;
    std::thread stepping([&reader, &c, &queue] {
        std::exception_ptr failure;
        try {
            RowChunk chunk;
            bool going = true;
            while (going && reader.read()) {
                chunk.rows.push_back(rowOf(reader, c));
                const HistoryEntries::Texts texts = textsOf(reader, c);
                for (const std::u16string_view text :
                     {texts.counterpartyAccount, texts.counterpartyName, texts.title,
                      texts.ownAccount}) {
                    chunk.texts += text;
                    chunk.ends.push_back(chunk.texts.size());
                }
                if (chunk.rows.size() == RowChunk::kRows) {
                    going = queue.push(std::exchange(chunk, RowChunk{}));
                }
            }
            if (going && !chunk.rows.empty()) {
                queue.push(std::move(chunk));
            }
        } catch (...) {
            failure = std::current_exception();
        }
        queue.finish(failure);
    });
    try {
        RowChunk chunk;
        while (queue.pop(chunk)) {
            const std::u16string_view texts = chunk.texts;
            for (size_t i = 0; i < chunk.rows.size(); ++i) {
                const size_t* end = &chunk.ends[4 * i];
                const size_t start = i == 0 ? 0 : chunk.ends[4 * i - 1];
                entries.append(
                    chunk.rows[i],
                    {texts.substr(start, end[0] - start), texts.substr(end[0], end[1] - end[0]),
                     texts.substr(end[1], end[2] - end[1]), texts.substr(end[2], end[3] - end[2])});
            }
        }
    } catch (...) {
        queue.cancel();
        stepping.join();
        throw;
    }
    stepping.join();
    if (const std::exception_ptr failure = queue.failure()) {
        std::rethrow_exception(failure);
    }
}

}  // namespace

namespace HistoryReader {

void Read(sqlite3x::connection& con, const char* query, HistoryEntries& entries) {
    {
        sqlite3x::command cmd(con, Schema::kSelectAccountNames);
        sqlite3x::reader reader = cmd.execute_reader();
        while (reader.read()) {
            entries.setAccountName(reader.get_view(0), reader.get_view(1));
        }
    }
    const bool fullList = std::strcmp(query, Schema::kSelectHistory) == 0;
    entries.reserve(expectedRows(con));
    sqlite3x::command cmd(con, fullList ? kSelectHistoryUnsorted : query);
    sqlite3x::reader reader = cmd.execute_reader();
    const ColumnIndexes column(reader);
    const Columns c{column(u"t_id"),    column(u"t_from_acc"), column(u"t_from_name"),
                    column(u"t_desc"),  column(u"t_amount"),   column(u"t_to_acc"),
                    column(u"t_tid"),   column(u"t_tio"),      column(u"t_date1"),
                    column(u"t_date2"), column(u"t_class")};
    if (fullList) {
        readBeside(reader, c, entries);
    } else {
        while (reader.read()) {
            entries.append(rowOf(reader, c), textsOf(reader, c));
        }
    }
    reader.close();
    if (fullList) {
        entries.sortLikeHistoryQuery();
    }
}

}  // namespace HistoryReader
