#pragma once
// The export without a window (`tavro --export`): the stored operations of a database file,
// narrowed by account and booking day, written all or none in the format of the target's
// extension.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

struct HistoryExportRequest {
    std::filesystem::path database;
    std::filesystem::path target;
    std::u16string account;   // normalised; empty: every account
    std::string accountText;  // as the user gave it, for messages
    int from = 0;             // YYYYMMDD of the local booking day, inclusive; 0: no limit
    int to = 99999999;
    int64_t now = 0;  // the moment of the export
};

// A failure the user is told about; the text is Polish and complete.
class HistoryExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace HistoryExport {

// Reads the database read-only and writes the files; nothing is written or changed when it
// throws HistoryExportError.
void Run(const HistoryExportRequest& request);

}  // namespace HistoryExport
