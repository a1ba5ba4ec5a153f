// SPDX-License-Identifier: GPL-3.0-or-later
// Storing downloaded operations into a large history: the count, delete and insert that every
// delivered operation costs, inside one transaction per job, as the download worker runs them.
//
//   tavro_bench_store [operations [runs [folder [per job]]]]
// operations: stored operations in the file when timing starts (default 1 000 000). The file
// is built once per size in the folder (default: a fresh temporary folder) and copied before
// every run, so each run starts from the labelled size. Half of the stored operations are new,
// half replace stored ones. The baseline runs the same statements prepared once for the whole
// run, directly through SQLite, on its own copy; every other run times it first. Figures are
// medians over the runs, with the lowest and highest run's ratio; the lines
// "name: value" are meant for scripts. Each run stores 20 jobs of `per job` operations
// (default 1000); with small jobs the commit at each job's end takes most of the time.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchDatabase.h"
#include "ModuleInterface.h"
#include "OperationStore.h"
#include "Schema.h"
#include "sqlite3x.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
constexpr int kAccounts = 5;
int g_perJob = 1000;       // operations per job
constexpr int kJobs = 20;  // jobs per run

std::u16string account(int index) {
    std::u16string text = u"611234567800000000000000";
    text += static_cast<char16_t>(u'0' + index / 10);
    text += static_cast<char16_t>(u'0' + index % 10);
    return text;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int64_t rowCount(sqlite3x::connection& db) {
    return db.execute_int("SELECT COUNT(*) FROM transactions");
}

// size operations, spread over the accounts; bank numbers 1 .. size / kAccounts per account.
void fill(const fs::path& path, int64_t size) {
    std::printf("building a file of %lld operations ...\n", static_cast<long long>(size));
    std::fflush(stdout);
    BenchDatabase::Fill(path, {}, size, [](int64_t i) {
        return BenchDatabase::Row{u"11222233334444555566667777",
                                  u"Kontrahent Spółka z o.o.",
                                  u"Zapłata za fakturę nr " + std::u16string(1, u'0' + i % 10),
                                  -12.34 - static_cast<double>(i % 1000),
                                  static_cast<int32_t>(i / kAccounts + 1),
                                  static_cast<int32_t>(i % 2),
                                  1262347200 + i * 60,
                                  1262347200 + i * 60,
                                  account(static_cast<int>(i % kAccounts)),
                                  static_cast<int32_t>(i % 23)};
    });
}

// The i-th stored operation of a run: even ones replace a stored operation of account 0,
// odd ones are new on it.
OperationRecord record(int64_t size, int i) {
    const int32_t perAccount = static_cast<int32_t>(size / kAccounts);
    OperationRecord r{};
    r.size = sizeof(OperationRecord);
    r.operationDate = r.postingDate = 1700000000;
    r.tid = (i % 2) ? perAccount + 1 + i / 2 : (i / 2) % perAccount + 1;
    r.amount = -99.99;
    r.kindText = "PRZELEW WYCHODZ\xA5\x43Y";
    r.amountText = "-99,99";
    r.counterpartyAccount = "11222233334444555566667777";
    r.counterpartyName =
        "Sklep \xA3\xF3"
        "d\x9F";
    r.title = "Zakupy";
    return r;
}

// What the worker does: one OperationStore, one transaction per job.
int storeWithOperationStore(sqlite3x::connection& db, int64_t size) {
    OperationStore store(db, nullptr);
    int added = 0;
    for (int job = 0; job < kJobs; ++job) {
        store.reset();
        sqlite3x::transaction tx(db);
        for (int i = job * g_perJob; i < (job + 1) * g_perJob; ++i) {
            added += store.store(account(0), record(size, i)) ? 1 : 0;
        }
        if (store.failed()) {
            std::fprintf(stderr, "storing failed\n");
            std::exit(1);
        }
        tx.commit();
    }
    return added;
}

// The same statements, prepared once and reused, with texts already decoded.
int storeBaseline(sqlite3x::connection& db, int64_t size) {
    sqlite3x::command count(db, Schema::kCountOperation);
    sqlite3x::command remove(db, Schema::kDeleteOperation);
    sqlite3x::command insert(db, Schema::kInsertOperation);
    const std::u16string own = account(0);
    int added = 0;
    for (int job = 0; job < kJobs; ++job) {
        sqlite3x::transaction tx(db);
        for (int i = job * g_perJob; i < (job + 1) * g_perJob; ++i) {
            const OperationRecord r = record(size, i);
            count.bind_int(1, r.tid);
            count.bind_text(2, own);
            added += count.execute_int() == 0 ? 1 : 0;
            remove.bind_int(1, r.tid);
            remove.bind_text(2, own);
            remove.execute();
            insert.bind_text(1, u"11222233334444555566667777");
            insert.bind_text(2, u"Sklep Łódź");
            insert.bind_text(3, u"Zakupy");
            insert.bind_double(4, r.amount);
            insert.bind_int(5, r.tid);
            insert.bind_int(6, r.direction);
            insert.bind_int64(7, r.operationDate);
            insert.bind_int64(8, r.postingDate);
            insert.bind_text(9, own);
            insert.bind_text(10, std::u16string());
            insert.bind_int(11, r.kind);
            insert.execute();
        }
        tx.commit();
    }
    return added;
}

// Copies the built file and times one way of storing on the copy; operations per second.
double timedRun(const fs::path& built, const fs::path& work, int64_t size, const char* label,
                const std::function<int(sqlite3x::connection&, int64_t)>& how) {
    fs::copy_file(built, work, fs::copy_options::overwrite_existing);
    sqlite3x::connection db;
    Schema::OpenDatabase(db, work.u16string(), [](const std::u16string&) {});
    const int64_t before = rowCount(db);
    const auto start = Clock::now();
    const int added = how(db, size);
    const double seconds = secondsSince(start);
    const int64_t after = rowCount(db);
    std::printf("  %-8s rows before %lld, after %lld, %d new of %d: %.0f operations/s\n", label,
                static_cast<long long>(before), static_cast<long long>(after), added,
                kJobs * g_perJob, kJobs * g_perJob / seconds);
    std::fflush(stdout);
    return kJobs * g_perJob / seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int64_t size = argc > 1 ? std::max(1000LL, std::atoll(argv[1])) : 1000000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const bool ownFolder = argc > 3;
    if (argc > 4) {
        g_perJob = std::max(1, std::atoi(argv[4]));
    }
    const fs::path folder =
        ownFolder ? fs::path(argv[3])
                  : fs::temp_directory_path() / ("tavro-bench-store-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path built = folder / ("built-" + std::to_string(size) + ".sq3");
    const fs::path work = folder / "work.sq3";
    if (!fs::exists(built)) {
        fill(built, size);
    }
    std::vector<double> store;
    std::vector<double> baseline;
    std::vector<double> ratios;  // of each run, for the spread
    for (int run = 0; run < runs; ++run) {
        std::printf("run %d of %d, %lld operations stored\n", run + 1, runs,
                    static_cast<long long>(size));
        // Every other run times the baseline first, so that neither gains from going second.
        if (run % 2 == 0) {
            store.push_back(timedRun(built, work, size, "store", storeWithOperationStore));
            baseline.push_back(timedRun(built, work, size, "baseline", storeBaseline));
        } else {
            baseline.push_back(timedRun(built, work, size, "baseline", storeBaseline));
            store.push_back(timedRun(built, work, size, "store", storeWithOperationStore));
        }
        ratios.push_back(store.back() / baseline.back());
    }
    fs::remove(work);
    if (!ownFolder) {
        fs::remove_all(folder);
    }
    const double value = median(store);
    const double base = median(baseline);
    std::printf("operations: %lld\n", static_cast<long long>(size));
    std::printf("store_ops_per_s: %.0f\n", value);
    std::printf("store_baseline_ops_per_s: %.0f\n", base);
    std::printf("store_ratio: %.3f\n", value / base);
    std::printf("store_ratio_lowest_run: %.3f\n", *std::min_element(ratios.begin(), ratios.end()));
    std::printf("store_ratio_highest_run: %.3f\n", *std::max_element(ratios.begin(), ratios.end()));
    return 0;
}
