#include "HistoryExport.h"

#include <ctime>
#include <optional>
#include <vector>

#include "ExportFiles.h"
#include "HistoryEntries.h"
#include "HistoryReader.h"
#include "Schema.h"
#include "sqlite3x.h"

namespace {

constexpr int kBusyMilliseconds = 5000;

int localDay(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return 0;
    }
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

bool knownAccount(sqlite3x::connection& db, const std::u16string& account) {
    sqlite3x::command cmd(db, Schema::kSelectAccountNames);
    sqlite3x::reader reader = cmd.execute_reader();
    while (reader.read()) {
        if (reader.get_view(0) == account) {
            return true;
        }
    }
    return false;
}

// The operations in the main list's order, narrowed by the request. `accountSeen` tells whether
// the chosen account is known or owns any operation at all.
std::vector<StoredOperation> readOperations(sqlite3x::connection& db,
                                            const HistoryExportRequest& request,
                                            bool& accountSeen) {
    accountSeen = request.account.empty() || knownAccount(db, request.account);
    HistoryEntries entries;
    HistoryReader::Read(db, Schema::kSelectHistory, entries);
    std::vector<StoredOperation> ops;
    for (size_t i = 0; i < entries.size(); ++i) {
        StoredOperation op = entries.at(i);
        if (!request.account.empty() && op.ownAccount != request.account) {
            continue;
        }
        accountSeen = true;
        const int day = localDay(op.bookingDate);
        if (day < request.from || day > request.to) {
            continue;
        }
        ops.push_back(std::move(op));
    }
    return ops;
}

}  // namespace

namespace HistoryExport {

void Run(const HistoryExportRequest& request) {
    const std::optional<ExportFormat> format = ExportFiles::FormatOf(request.target);
    if (!format) {
        throw HistoryExportError("Nieznany format pliku \"" + request.target.string() +
                                 "\": rozszerzenie musi być .xml, .ofx lub .csv.");
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(request.database, error)) {
        throw HistoryExportError("Nie ma bazy danych: " + request.database.string());
    }
    std::vector<StoredOperation> ops;
    bool accountSeen = false;
    try {
        sqlite3x::connection db;
        db.open_read_only(request.database.string(), kBusyMilliseconds);
        ops = readOperations(db, request, accountSeen);
    } catch (const sqlite3x::database_error& failure) {
        throw HistoryExportError("Błąd odczytu bazy danych " + request.database.string() + ": " +
                                 failure.what());
    }
    if (!accountSeen) {
        throw HistoryExportError("Nieznany rachunek: " + request.accountText);
    }
    const std::vector<ExportFile> files =
        ExportFiles::Build(*format, request.target, ops, request.now, request.account);
    if (files.empty()) {
        throw HistoryExportError(
            "Brak operacji do zapisania w pliku OFX; wskaż rachunek opcją --account.");
    }
    const ExportFiles::Outcome outcome = ExportFiles::Write(files);
    if (outcome.failure != ExportFiles::Failure::None) {
        throw HistoryExportError("Nie można zapisać pliku: " + outcome.path.string());
    }
}

}  // namespace HistoryExport
