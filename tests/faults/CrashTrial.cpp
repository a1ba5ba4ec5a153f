// SPDX-License-Identifier: GPL-3.0-or-later
// The crash-trial program. scripts/crash-trials.sh starts it, kills it with SIGKILL at a random
// moment, and then runs it again to check what the kill left behind.
//
//   tavro-crash-trial download FOLDER DB USER PASSWORD DAYS ACCOUNT...
//       downloads the accounts (one job each) with FOLDER/banki/ib_tavro.module into DB,
//       over and over (every round after the first replaces the stored rows); prints "round N".
//       Prints "begun N T" when the Nth write transaction takes its lock, "commit N T" when its
//       commit starts writing the file, and "committed N T" when the commit has written
//       everything, just before it returns (T: the wall clock in microseconds, as bash's
//       EPOCHREALTIME without its point), then "took N US" (its length in microseconds). With
//       TRIAL_HOLD_AT=N it stops there for good, so that a kill aimed at transaction N always
//       lands inside it.
//   tavro-crash-trial check DB DUMP
//       integrity of DB, and every account either has all its operations of the bank's DUMP
//       or none; exit 1 with a message otherwise
//   tavro-crash-trial settings-save FILE      saves ever newer versions of a settings file
//   tavro-crash-trial settings-check FILE     the file is one whole version
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "FaultDownload.h"
#include "FaultVfs.h"
#include "Schema.h"
#include "SettingsStore.h"

namespace {

constexpr int kSettingsKeys = 300;

int fail(const std::string& message) {
    std::printf("CORRUPT: %s\n", message.c_str());
    return 1;
}

void openDatabase(sqlite3x::connection& db, const std::string& path) {
    Schema::OpenDatabase(db, Widen(path), [](const std::u16string&) {});
}

void say(const char* event, int transaction) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf(
        "%s %d %lld\n", event, transaction,
        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
    std::fflush(stdout);
}

// Follows the database file's locks: a write transaction takes RESERVED, its commit EXCLUSIVE,
// and the lock drops back to SHARED or none once the commit has written everything. Only the
// download thread takes the locks.
struct TransactionWatch {
    int holdAt = 0;
    int transaction = 0;
    bool writing = false;
    std::chrono::steady_clock::time_point begun;

    void onLock(bool locking, int level) {
        if (locking && level == SQLITE_LOCK_RESERVED && !writing) {
            writing = true;
            begun = std::chrono::steady_clock::now();
            say("begun", ++transaction);
        } else if (locking && level == SQLITE_LOCK_EXCLUSIVE && writing) {
            say("commit", transaction);
        } else if (!locking && level <= SQLITE_LOCK_SHARED && writing) {
            writing = false;
            say("committed", transaction);
            const auto took = std::chrono::steady_clock::now() - begun;
            std::printf("took %d %lld\n", transaction,
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
            std::fflush(stdout);
            while (transaction == holdAt) {
                ::pause();
            }
        }
    }
};

TransactionWatch g_watch;

void watchTransactions(int holdAt) {
    g_watch.holdAt = holdAt;
    FaultVfs::Instance().setLockObserver(
        [](bool locking, int level) { g_watch.onLock(locking, level); });
}

int download(const std::vector<std::string>& args) {
    if (args.size() < 6) {
        return 2;
    }
    sqlite3x::connection db;
    openDatabase(db, args[1]);
    const char* holdAt = std::getenv("TRIAL_HOLD_AT");
    watchTransactions(holdAt ? std::atoi(holdAt) : 0);
    db.open(Widen(args[1]), FaultVfs::kName);
    std::vector<DownloadJob> jobs;
    for (size_t i = 5; i < args.size(); ++i) {
        DownloadJob job;
        job.user = Widen(args[2]);
        job.password = Widen(args[3]);
        job.accounts = {Widen(args[i])};
        job.names = {u"Konto"};
        job.days = std::atoi(args[4].c_str());
        jobs.push_back(job);
    }
    for (int round = 1;; ++round) {
        DownloadOutcome outcome;
        RunDownload(db, args[0], jobs, outcome);
        if (!outcome.ui.warnings.empty()) {
            std::printf("warning in round %d\n", round);
            return 3;
        }
        std::printf("round %d\n", round);
        std::fflush(stdout);
    }
}

// Delivered operations per account, from the bank's dump.
std::map<std::u16string, std::set<int32_t>> dumpedOperations(const std::string& path) {
    std::map<std::u16string, std::set<int32_t>> out;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        std::vector<std::string> f;
        std::stringstream stream(line);
        for (std::string field; std::getline(stream, field, '\t');) {
            f.push_back(field);
        }
        if (f.size() >= 19 && f[0] == "op" && f[12] == "1") {
            out[Widen(f[1])].insert(std::stoi(f[2]));
        }
    }
    return out;
}

int check(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return 2;
    }
    sqlite3x::connection db;
    openDatabase(db, args[0]);
    const std::u16string integrity = IntegrityCheck(db);
    if (integrity != u"ok") {
        return fail("integrity_check is not ok");
    }
    std::map<std::u16string, std::multiset<int32_t>> stored;
    sqlite3x::command select(db, "SELECT t_to_acc, t_tid FROM transactions");
    sqlite3x::reader r = select.execute_reader();
    while (r.read()) {
        stored[r.get_string(0)].insert(r.get_int(1));
    }
    r.close();
    const auto expected = dumpedOperations(args[1]);
    if (expected.empty()) {
        return fail("no operations in the dump");
    }
    int complete = 0;
    for (const auto& [account, tids] : expected) {
        const auto found = stored.find(account);
        if (found == stored.end()) {
            continue;
        }
        const std::set<int32_t> unique(found->second.begin(), found->second.end());
        if (unique.size() != found->second.size()) {
            return fail("an operation stored twice");
        }
        if (unique != tids) {
            return fail("an account with " + std::to_string(unique.size()) + " of its " +
                        std::to_string(tids.size()) + " operations");
        }
        ++complete;
    }
    if (stored.size() > static_cast<size_t>(complete)) {
        return fail("rows of an unknown account");
    }
    std::printf("ok: %d of %zu accounts complete, %lld rows\n", complete, expected.size(),
                static_cast<long long>(RowCount(db)));
    return 0;
}

std::u16string key(int i) {
    return u"K/" + Widen(std::to_string(i));
}

// Version v: every key holds v, and a text whose length depends on v, so versions differ in
// size and a short file cannot pass for a whole one.
int settingsSave(const std::string& path) {
    SettingsStore store(path);
    store.Load();
    for (int32_t version = store.GetInt(key(0), 0) + 1;; ++version) {
        for (int i = 0; i < kSettingsKeys; ++i) {
            store.SetInt(key(i), version);
        }
        const std::string text(static_cast<size_t>(version % 97 + 1) * 8, 'x');
        SettingEntry entry{u"Tekst", SettingEntry::Text, SettingEntry::Enciphered, {}};
        entry.value.assign(text.begin(), text.end());
        store.PutEntry(entry);
        if (!store.Save()) {
            return 3;
        }
    }
}

int settingsCheck(const std::string& path) {
    SettingsStore store(path);
    const int32_t count = store.Load();
    if (count != kSettingsKeys + 1) {
        return fail("settings file with " + std::to_string(count) + " entries");
    }
    const int32_t version = store.GetInt(key(0), -1);
    for (int i = 1; i < kSettingsKeys; ++i) {
        if (store.GetInt(key(i), -1) != version) {
            return fail("settings file mixing two versions");
        }
    }
    for (const SettingEntry& e : store.Entries()) {
        if (e.key == u"Tekst" && e.value.size() != static_cast<size_t>(version % 97 + 1) * 8) {
            return fail("settings text of another version");
        }
    }
    std::printf("ok: settings version %d\n", version);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (all.empty()) {
        std::fprintf(stderr, "usage: see the comment at the top of CrashTrial.cpp\n");
        return 2;
    }
    const std::vector<std::string> args(all.begin() + 1, all.end());
    try {
        if (all[0] == "download") {
            return download(args);
        }
        if (all[0] == "check") {
            return check(args);
        }
        if (all[0] == "settings-save" && args.size() == 1) {
            return settingsSave(args[0]);
        }
        if (all[0] == "settings-check" && args.size() == 1) {
            return settingsCheck(args[0]);
        }
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    return 2;
}
