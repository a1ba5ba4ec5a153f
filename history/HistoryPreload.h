// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "HistoryEntries.h"
#include "RowClaims.h"
#include "sqlite3x.h"

// Reads the full list of the database on its own connection and thread while the program
// builds its window, which takes about as long as a large history's first tenth. Only a file
// that is there is read, and only if nobody holds it: anything else is left to the window's
// usual reading, with its messages.
class HistoryPreload {
public:
    HistoryPreload() = default;
    HistoryPreload(const HistoryPreload&) = delete;
    HistoryPreload& operator=(const HistoryPreload&) = delete;
    ~HistoryPreload();

    // The page cache of the reading connection (16 pages); the start-up benchmark's floor loop
    // reads with it too.
    static constexpr const char* kReadCache = "PRAGMA cache_size=16";
    // Above this many rows the later half is read on a second connection and thread. Below it
    // the reading ends while the window is still being built, and a third busy thread on two
    // cores made 100 000 rows slower (224 -> 247 ms).
    static constexpr int32_t kSplitAbove = 250000;

    // A list read in one piece is read in chunks of this many row numbers: the window's thread,
    // once it waits for the list, reads the back half of what is left on a connection of its
    // own (take), which is worth it from two chunks on.
    static constexpr int32_t kChunkRows = 4096;

    void start(const std::u16string& path, int32_t splitAbove = kSplitAbove,
               int32_t chunkRows = kChunkRows);
    // Waits for the reading, helping with it; moves the list into entries (which must be empty)
    // when it was read whole, else returns false.
    bool take(HistoryEntries& entries);
    // The rows the list may have (the highest row number) once the reading knows, else 0.
    int32_t expectedRows() const { return m_expected.load(); }
    // Whether take() would return at once.
    bool finished() const { return !m_thread.joinable() || m_finished.load(); }

private:
    void read(int32_t splitAbove);
    void readClaimed(sqlite3x::connection& con, int32_t highest);
    void help();
    void openForReading(sqlite3x::connection& con) const;

    std::thread m_thread;
    std::string m_path;
    int32_t m_chunkRows = kChunkRows;
    RowClaims m_claims;
    HistoryEntries m_entries;
    HistoryEntries m_helped;  // the back half that take() read
    bool m_read = false;
    bool m_helpedRead = false;
    bool m_joinHelped = false;  // m_entries waits for m_helped and its sort
    std::atomic<bool> m_finished = false;
    std::atomic<int32_t> m_expected = 0;
};
