// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A download through the real worker and the real bank module into a database file, for the
// failure tests and the crash trials.

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CPluginLoader.h"
#include "DownloadJob.h"
#include "RecordingDownloadUi.h"
#include "SettingsStore.h"
#include "sqlite3x.h"

class BankServer;

// (own account, bank number): what identifies a stored operation.
using OperationKey = std::pair<std::u16string, int32_t>;

std::u16string Widen(const std::string& ascii);

// One job per account, the bank's user and password, `days` of history.
std::vector<DownloadJob> JobsPerAccount(const BankServer& bank, int32_t days);
// One job for every account of the bank (one log-on).
DownloadJob OneJob(const BankServer& bank, int32_t days);

// What the bank should deliver, per account.
std::set<OperationKey> ExpectedKeys(const BankServer& bank, const std::string& account = "");

std::set<OperationKey> StoredKeys(sqlite3x::connection& db);
int64_t RowCount(sqlite3x::connection& db);
// The first line of PRAGMA integrity_check: "ok" for a sound file.
std::u16string IntegrityCheck(sqlite3x::connection& db);

// Runs a download with the module installed in `bankFolder`/banki and waits for its end.
struct DownloadOutcome {
    RecordingDownloadUi ui;
    std::chrono::milliseconds duration{0};
};
void RunDownload(sqlite3x::connection& db, const std::filesystem::path& bankFolder,
                 std::vector<DownloadJob> jobs, DownloadOutcome& outcome);
