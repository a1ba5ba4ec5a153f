// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryPreload.h"

#include <filesystem>

#include "HistoryReader.h"
#include "Schema.h"
#include "sqlite3x.h"

HistoryPreload::~HistoryPreload() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void HistoryPreload::start(const std::u16string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), error)) {
        return;
    }
    m_thread = std::thread([this, path] {
        try {
            sqlite3x::connection con;
            // No waiting: a file another program holds is the window's to report.
            con.open_read_only(std::filesystem::path(path).string(), 0);
            // A file that lacks a table or an index gets them from the window before it is
            // read: reading it here would hold that writing up.
            if (con.execute_int(Schema::kAccountsExist) == 0 ||
                con.execute_int(Schema::kStartIndexesExist) != 2) {
                return;
            }
            // One pass over the table needs few pages at a time; a cache of the usual 2 MB
            // would only be fresh memory to fault in.
            con.execute(kReadCache);
            HistoryReader::Read(con, Schema::kSelectHistory, m_entries);
            m_read = true;
        } catch (const std::exception&) {
            m_entries.clear();
        }
    });
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
