// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryPreload.h"

#include <cstdint>
#include <filesystem>

#include "HistoryReader.h"
#include "Schema.h"
#include "sqlite3x.h"

HistoryPreload::~HistoryPreload() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void HistoryPreload::start(const std::u16string& path, int32_t splitAbove) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), error)) {
        return;
    }
    m_thread = std::thread([this, splitAbove, file = std::filesystem::path(path).string()] {
        try {
            read(file, splitAbove);
        } catch (const std::exception&) {
            m_entries.clear();
            m_read = false;
        }
        m_finished = true;
    });
}

void HistoryPreload::openForReading(sqlite3x::connection& con, const std::string& path) {
    // No waiting: a file another program holds is the window's to report.
    con.open_read_only(path, 0);
    // One pass over the table needs few pages at a time; a cache of the usual 2 MB would only
    // be fresh memory to fault in.
    con.execute(kReadCache);
}

void HistoryPreload::read(const std::string& path, int32_t splitAbove) {
    sqlite3x::connection con;
    openForReading(con, path);
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
    HistoryEntries later;
    bool laterRead = split == highest;
    m_entries.reserve(static_cast<size_t>(highest));
    {
        std::jthread second;
        if (!laterRead) {
            // Where the later half goes when the halves are joined: fresh memory, whose page
            // faults the join (on the path to the first paint) would otherwise pay.
            const HistoryEntries::Room room =
                m_entries.room(static_cast<size_t>(split), static_cast<size_t>(highest));
            second = std::jthread([&, room] {
                room.faultIn();
                try {
                    sqlite3x::connection own;
                    openForReading(own, path);
                    HistoryReader::ReadRows(own, int64_t{split} + 1, INT64_MAX,
                                            static_cast<size_t>(highest - split), later);
                    laterRead = true;
                } catch (const std::exception&) {
                    later.clear();
                }
            });
        }
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

bool HistoryPreload::take(HistoryEntries& entries) {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (!m_read) {
        return false;
    }
    m_read = false;
    entries = std::move(m_entries);
    return true;
}
