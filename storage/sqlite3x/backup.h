// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct sqlite3_backup;

namespace sqlite3x {

class connection;

// Copies one database into another page by page through SQLite's online backup. Each step
// holds the source's read lock only while it copies its pages, so the program that owns the
// source keeps writing between steps; a write in between makes the copy start over.
class backup {
public:
    // Both connections must stay open while this object lives.
    backup(connection& destination, connection& source);
    ~backup();
    backup(const backup&) = delete;
    backup& operator=(const backup&) = delete;

    enum class state { more, busy, done };
    // Copies up to `pages` pages. `busy`: the source or the destination is locked by another
    // connection for now; try again later. Throws database_error on any other failure.
    state step(int pages);
    int remaining() const;
    int page_count() const;
    // Releases the handle; throws when the copy had failed.
    void finish();

private:
    sqlite3_backup* m_backup = nullptr;
    connection& m_destination;
};

}  // namespace sqlite3x
