// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What importing a file would do to each of its operations, before anything is stored.

#include "StatementImport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sqlite3x {
class connection;
}

enum class OperationState {
    New,       // nowa
    Known,     // już zapisana
    Probable,  // prawdopodobnie zapisana
    Pending,   // pominięta: oczekująca (pending or informational)
};

struct PreviewResult {
    ImportSummary summary;
    // One state per operation of the file: the statements' operations in file order, the same
    // numbering as ImportFile::chosen.
    std::vector<OperationState> states;
    std::optional<int64_t> importedAt;  // the last earlier import of the same bytes
};

// Where an operation of a file belongs: its own account and its key as the import step makes
// them (both empty for a pending entry).
struct OperationPlace {
    std::u16string account;
    std::u16string key;
};

namespace ImportPreview {

// The import step itself runs inside a transaction that is then rolled back, so the states
// follow exactly the rules of a real import and nothing is left behind (not even the import's
// tables). Throws ImportError as the import step does.
PreviewResult Run(sqlite3x::connection& database, const StatementFile& file,
                  const ImportRequest& request);

// Every operation's place, in the numbering above.
std::vector<OperationPlace> Places(const StatementFile& file, const ImportRequest& request);

// The operations of a file, flattened in the numbering above.
std::vector<const StatementOperation*> Operations(const StatementFile& file);

// "nowa", "już zapisana", ...
const char16_t* StateName(OperationState state);

}  // namespace ImportPreview
