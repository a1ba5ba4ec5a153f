// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryPreload.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "HistoryReader.h"
#include "Schema.h"
#include "sqlite3x.h"

HistoryPreload::~HistoryPreload() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void HistoryPreload::start(const std::u16string& path, int32_t splitAbove, int32_t chunkRows) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), error)) {
        return;
    }
    m_path = std::filesystem::path(path).string();
    m_chunkRows = chunkRows;
    m_thread = std::thread([this, splitAbove] {
        try {
            read(splitAbove);
        } catch (const std::exception&) {
            m_entries.clear();
            m_read = false;
        }
        m_finished = true;
    });
}

void HistoryPreload::openForReading(sqlite3x::connection& con) const {
    // No waiting: a file another program holds is the window's to report.
    con.open_read_only(m_path, 0);
    // One pass over the table needs few pages at a time; a cache of the usual 2 MB would only
    // be fresh memory to fault in.
    con.execute(kReadCache);
}

void HistoryPreload::read(int32_t splitAbove) {
    sqlite3x::connection con;
    openForReading(con);
    // A file that lacks a table or an index gets them from the window before it is read:
    // reading it here would hold that writing up.
    if (con.execute_int(Schema::kAccountsExist) == 0 ||
        con.execute_int(Schema::kStartIndexesExist) != 2) {
        return;
    }
    // The file stays locked for reading until both halves are read: nothing can be written
    // between them.
    con.execute("BEGIN");
    const int32_t highest = HistoryReader::HighestRow(con);
    m_expected = highest;
    const int32_t split = highest > splitAbove ? highest / 2 : highest;
    m_entries.reserve(static_cast<size_t>(highest));
    if (split == highest) {
        readClaimed(con, highest);
        con.execute("COMMIT");
        return;
    }
    HistoryEntries later;
    bool laterRead = false;
    {
        // Where the later half goes when the halves are joined: fresh memory, whose page faults
        // the join (on the path to the first paint) would otherwise pay.
        const HistoryEntries::Room room =
            m_entries.room(static_cast<size_t>(split), static_cast<size_t>(highest));
        std::jthread second([&, room] {
            room.faultIn();
            try {
                sqlite3x::connection own;
                openForReading(own);
                HistoryReader::ReadRows(own, int64_t{split} + 1, INT64_MAX,
                                        static_cast<size_t>(highest - split), later);
                laterRead = true;
            } catch (const std::exception&) {
                later.clear();
            }
        });
        // The room is kept already (above).
        HistoryReader::ReadRows(con, INT64_MIN, split, 0, m_entries);
    }
    // The second connection can be refused (a writer waiting for the file): this one reads on.
    if (!laterRead) {
        HistoryReader::ReadRows(con, int64_t{split} + 1, INT64_MAX, 0, later);
    }
    if (!later.empty()) {
        m_entries.append(std::move(later));
    }
    con.execute("COMMIT");
    m_entries.sortLikeHistoryQuery();
    m_read = true;
}

// Row numbers up to 0 count as row 0, the highest as the last: ranges of row numbers are
// claimed from the front by the reading thread, the back half of what is left by help().
void HistoryPreload::readClaimed(sqlite3x::connection& con, int32_t highest) {
    const int32_t end = std::max(highest, 0) + 1;
    m_claims.reset(end);
    HistoryReader::ReadRanges(
        con,
        [this](int64_t& first, int64_t& last) {
            const std::optional<RowClaims::Range> range = m_claims.front(m_chunkRows);
            if (range) {
                first = range->first == 0 ? INT64_MIN : range->first;
                last = range->end - 1;
            }
            return range.has_value();
        },
        m_entries);
    // A back half taken by help() is joined and the whole sorted there, once it is read.
    m_joinHelped = m_claims.end() < end;
    if (!m_joinHelped) {
        m_entries.sortLikeHistoryQuery();
    }
    m_read = true;
}

// On the window's thread, which has nothing else to do until the list is there.
void HistoryPreload::help() {
    const int32_t least = 2 * m_chunkRows;
    if (m_claims.left() < least) {
        return;
    }
    sqlite3x::connection own;
    try {
        openForReading(own);
        // The reading thread holds the file's shared lock: this one, taken while it does, sees
        // the same rows (no write can come between).
        own.execute("BEGIN");
        if (HistoryReader::HighestRow(own) != m_expected.load()) {
            return;
        }
        const std::optional<RowClaims::Range> range = m_claims.backHalf(least);
        if (!range) {
            return;
        }
        HistoryReader::ReadRows(own, range->first, INT64_MAX,
                                static_cast<size_t>(range->end - range->first), m_helped);
        own.execute("COMMIT");
        m_helpedRead = true;
    } catch (const std::exception&) {
        m_helped.clear();  // take() finds m_helpedRead false if the rows were claimed
    }
}

bool HistoryPreload::take(HistoryEntries& entries) {
    if (m_thread.joinable()) {
        if (!m_finished.load()) {
            help();
        }
        m_thread.join();
    }
    if (m_joinHelped) {
        // Rows the window's thread claimed but could not read: the window reads the list.
        m_read = m_read && m_helpedRead;
        if (m_read) {
            m_entries.append(std::move(m_helped));
            m_entries.sortLikeHistoryQuery();
        }
        m_joinHelped = false;
    }
    if (!m_read) {
        return false;
    }
    m_read = false;
    entries = std::move(m_entries);
    return true;
}
