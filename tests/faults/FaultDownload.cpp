// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultDownload.h"

#include "BankServer.h"
#include "DownloadWorker.h"

std::u16string Widen(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

std::vector<DownloadJob> JobsPerAccount(const BankServer& bank, int32_t days) {
    std::vector<DownloadJob> jobs;
    for (const std::string& account : bank.accounts()) {
        DownloadJob job;
        job.user = Widen(bank.user());
        job.password = Widen(bank.password());
        job.accounts = {Widen(account)};
        job.names = {u"Konto " + Widen(account.substr(22))};
        job.days = days;
        jobs.push_back(job);
    }
    return jobs;
}

DownloadJob OneJob(const BankServer& bank, int32_t days) {
    DownloadJob job;
    job.user = Widen(bank.user());
    job.password = Widen(bank.password());
    for (const std::string& account : bank.accounts()) {
        job.accounts.push_back(Widen(account));
        job.names.push_back(u"Konto");
    }
    job.days = days;
    return job;
}

std::set<OperationKey> ExpectedKeys(const BankServer& bank, const std::string& account) {
    std::set<OperationKey> keys;
    for (const DumpedOperation& op : bank.dump()) {
        if (op.delivered && (account.empty() || op.account == account)) {
            keys.emplace(Widen(op.account), op.tid);
        }
    }
    return keys;
}

std::set<OperationKey> StoredKeys(sqlite3x::connection& db) {
    std::set<OperationKey> keys;
    sqlite3x::command select(db, "SELECT t_to_acc, t_tid FROM transactions");
    sqlite3x::reader r = select.execute_reader();
    while (r.read()) {
        keys.emplace(r.get_string(0), r.get_int(1));
    }
    return keys;
}

int64_t RowCount(sqlite3x::connection& db) {
    return db.execute_int("SELECT COUNT(*) FROM transactions");
}

std::u16string IntegrityCheck(sqlite3x::connection& db) {
    sqlite3x::command check(db, "PRAGMA integrity_check");
    sqlite3x::reader r = check.execute_reader();
    return r.read() ? r.get_string(0) : u"no answer";
}

void RunDownload(sqlite3x::connection& db, const std::filesystem::path& bankFolder,
                 std::vector<DownloadJob> jobs, DownloadOutcome& outcome) {
    CPluginLoader loader([](const std::u16string&) {}, bankFolder);
    loader.ScanModules();
    SettingsStore settings(bankFolder / "TavroHistory.config");
    DownloadWorker worker(
        {db, loader, settings, outcome.ui, [](const std::u16string&, const std::u16string&) {}});
    const auto start = std::chrono::steady_clock::now();
    if (worker.start(DownloadRun{std::move(jobs)})) {
        worker.join();
    }
    outcome.duration = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
}
