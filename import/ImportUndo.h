// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Looking back at the imports and taking one back: the operations a batch stored go, as long as
// they still hold what it stored; whatever a download has since put in their place stays.

#include <cstdint>
#include <string>
#include <vector>

namespace sqlite3x {
class connection;
}

struct ImportBatchInfo {
    int64_t id = 0;
    std::u16string file;
    std::u16string format;  // "mt940", "camt", ...
    int64_t time = 0;       // seconds since 1970 UTC
    int stored = 0;
    int known = 0;
    int probable = 0;
    int skipped = 0;
};

class ImportUndo {
public:
    explicit ImportUndo(sqlite3x::connection& database);

    // Newest first; empty when nothing was ever imported. Throws sqlite3x::database_error.
    std::vector<ImportBatchInfo> batches();

    // In one transaction: removes the operations the batch stored that are still its own (a
    // downloaded row that replaced one, or took its number, is not), their keys, and the batch
    // itself. The keys by which the batch only recognised operations already there stay with
    // those operations. Returns how many operations were removed. Throws ImportError (a batch
    // that is not there any more, a database error); nothing is changed then.
    int undo(int64_t batch);

private:
    sqlite3x::connection& m_database;
};
