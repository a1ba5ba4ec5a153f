// Storing downloaded operations into a large history: the count, delete and insert that every
// delivered operation costs, inside one transaction per job, as the download worker runs them.
//
//   tavro_bench_store [--folder DIR] [size...]
// Sizes default to 10 000, 100 000 and 1 000 000 stored operations. The databases are built
// once in DIR (default: a folder under the temporary folder, kept for the next run) and reused.
// Half of the stored batch replaces operations already there, half is new.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ModuleInterface.h"
#include "OperationStore.h"
#include "Schema.h"
#include "sqlite3x.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kAccounts = 5;
constexpr int kBatch = 1000;  // operations per measured job
constexpr double kMinSeconds = 2.0;

std::u16string account(int index) {
    std::u16string text = u"611234567800000000000000";
    text += static_cast<char16_t>(u'0' + index / 10);
    text += static_cast<char16_t>(u'0' + index % 10);
    return text;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void fill(sqlite3x::connection& db, int64_t size) {
    const int64_t have = db.execute_int("SELECT COUNT(*) FROM transactions");
    if (have >= size) {
        return;
    }
    std::printf("filling to %lld operations ...\n", static_cast<long long>(size));
    sqlite3x::transaction tx(db);
    sqlite3x::command insert(db, Schema::kInsertOperation);
    for (int64_t i = have; i < size; ++i) {
        insert.bind_text(1, u"11222233334444555566667777");
        insert.bind_text(2, u"Kontrahent Spółka z o.o.");
        insert.bind_text(3, u"Zapłata za fakturę nr " + std::u16string(1, u'0' + i % 10));
        insert.bind_double(4, -12.34 - static_cast<double>(i % 1000));
        insert.bind_int(5, static_cast<int32_t>(i / kAccounts + 1));
        insert.bind_int(6, static_cast<int32_t>(i % 2));
        insert.bind_int64(7, 1262347200 + i * 60);
        insert.bind_int64(8, 1262347200 + i * 60);
        insert.bind_text(9, account(static_cast<int>(i % kAccounts)));
        insert.bind_text(10, u"");
        insert.bind_int(11, static_cast<int32_t>(i % 23));
        insert.execute();
    }
    tx.commit();
}

// Stores jobs of kBatch operations until kMinSeconds have passed; operations per second.
double measure(sqlite3x::connection& db, int64_t size, int& stored) {
    OperationStore store(db, nullptr);
    const int32_t perAccount = static_cast<int32_t>(size / kAccounts);
    int32_t nextNew = perAccount + 1;
    int32_t nextOld = 1;
    stored = 0;
    const auto start = Clock::now();
    do {
        sqlite3x::transaction tx(db);
        for (int i = 0; i < kBatch; ++i, ++stored) {
            OperationRecord record{};
            record.size = sizeof(OperationRecord);
            record.operationDate = record.postingDate = 1700000000;
            record.tid = (i % 2) ? nextNew++ : (nextOld++ % perAccount) + 1;
            record.amount = -99.99;
            record.kindText = "PRZELEW WYCHODZ\xA5\x43Y";
            record.amountText = "-99,99";
            record.counterpartyAccount = "11222233334444555566667777";
            record.counterpartyName =
                "Sklep \xA3\xF3"
                "d\x9F";
            record.title = "Zakupy";
            store.store(account(0), record);
        }
        tx.commit();
    } while (secondsSince(start) < kMinSeconds);
    return stored / secondsSince(start);
}

bool hasIndex(sqlite3x::connection& db) {
    return db.execute_int(
               "SELECT COUNT(*) FROM sqlite_master WHERE type='index' AND "
               "tbl_name='transactions'") > 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "tavro-bench-store";
    std::vector<int64_t> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else {
            sizes.push_back(std::atoll(argv[i]));
        }
    }
    if (sizes.empty()) {
        sizes = {10000, 100000, 1000000};
    }
    std::filesystem::create_directories(folder);
    for (const int64_t size : sizes) {
        const auto path = folder / ("store-" + std::to_string(size) + ".sq3");
        sqlite3x::connection db;
        Schema::OpenDatabase(db, path.u16string(), [](const std::u16string&) {});
        fill(db, size);
        int stored = 0;
        const double rate = measure(db, size, stored);
        std::printf(
            "%8lld stored: %7.0f operations/s (%d in %.1f s), index on (t_to_acc, t_tid): %s\n",
            static_cast<long long>(size), rate, stored, stored / rate, hasIndex(db) ? "yes" : "no");
        std::fflush(stdout);
    }
    return 0;
}
