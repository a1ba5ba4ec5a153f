// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several statement files stored together: all of them in one transaction, or none; of each,
// all its booked operations or only those the user chose.

#include "StatementImport.h"

#include <QString>

#include <optional>
#include <vector>

namespace sqlite3x {
class connection;
}

struct ImportFile {
    StatementFile file;
    ImportRequest request;
    // The operations the user ticked, numbered as ImportPreview numbers them: a new operation not
    // among them is skipped, a probable one among them is stored as an operation of its own;
    // already stored ones stay as they are. The balances are checked on the whole file. Not set:
    // what the import step alone decides.
    std::optional<std::vector<size_t>> chosen;
};

namespace ImportSet {

// One summary per file, in the order given. Throws ImportError naming the file at fault; nothing
// of any file is stored then.
std::vector<ImportSummary> Run(sqlite3x::connection& database,
                               const std::vector<ImportFile>& files);

// The file with only the chosen operations booked.
StatementFile Chosen(const StatementFile& file, const std::vector<size_t>& chosen);

// "<26 digits>: nowe N, już zapisane M, prawdopodobnie zapisane P, pominięte K"
QString CountsLine(const AccountCounts& counts);

}  // namespace ImportSet
