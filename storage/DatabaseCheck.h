// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <thread>

// The whole-file check that refuses a damaged database, run on a read-only connection of its
// own so that start-up reads the list on the other core meanwhile. Nothing may be written to
// the file before result() has said it is sound.
class DatabaseCheck {
public:
    DatabaseCheck() = default;
    ~DatabaseCheck();
    DatabaseCheck(const DatabaseCheck&) = delete;
    DatabaseCheck& operator=(const DatabaseCheck&) = delete;

    void start(const std::u16string& path);
    // Waits for the check: 0 when the file is sound (or no check ran), else SQLite's code.
    int result();

private:
    std::thread m_thread;
    int m_result = 0;
};
