// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "HistoryEntries.h"
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

    void start(const std::u16string& path, int32_t splitAbove = kSplitAbove);
    // Waits for the reading; moves the list into entries (which must be empty) when it was
    // read whole, else returns false.
    bool take(HistoryEntries& entries);
    // The rows the list may have (the highest row number) once the reading knows, else 0.
    int32_t expectedRows() const { return m_expected.load(); }
    // Whether take() would return at once.
    bool finished() const { return !m_thread.joinable() || m_finished.load(); }

private:
    void read(const std::string& path, int32_t splitAbove);
    static void openForReading(sqlite3x::connection& con, const std::string& path);

    std::thread m_thread;
    HistoryEntries m_entries;
    bool m_read = false;
    std::atomic<bool> m_finished = false;
    std::atomic<int32_t> m_expected = 0;
};
