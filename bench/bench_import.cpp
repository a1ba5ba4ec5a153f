// SPDX-License-Identifier: GPL-3.0-or-later
// Importing statement files into a large history: a 100 000-operation MT940 file and a camt.053
// file of the same operations, each into a copy of a file of N downloaded operations, reading
// included. The baseline stores the same operations through the download store (one job) on
// its own copy in the same run; the re-import of the same file (all known) is timed too. Peak
// memory is the high-water mark of the resident set during the import above the one before it
// (the file already read into memory), per byte of the file.
//
//   tavro_bench_import [stored operations (default 1 000 000) [file operations (100 000) [folder]]]
// The file of stored operations is built once per size in the folder (default: a fresh temporary
// folder, removed at the end) and copied before each import.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "OperationStore.h"
#include "Schema.h"
#include "StatementImport.h"
#include "StatementReader.h"
#include "StatementValues.h"
#include "sqlite3x.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
const std::u16string kOwn = u"61109010140000071219812874";
constexpr int64_t kFirstDay = 1262347200;  // 2010-01-01 12:00 in Warsaw

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The resident set's high-water mark is reset, so the next import's own peak can be read.
long residentKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::atol(line.c_str() + std::string(field).size());
        }
    }
    return 0;
}
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void fill(const fs::path& path, int64_t size) {
    sqlite3x::connection db;
    Schema::OpenDatabase(db, path.u16string(), [](const std::u16string&) {});
    sqlite3x::transaction tx(db);
    sqlite3x::command insert(db, Schema::kInsertOperation);
    for (int64_t i = 0; i < size; ++i) {
        insert.bind_text(1, u"11222233334444555566667777");
        insert.bind_text(2, u"Kontrahent Spółka z o.o.");
        insert.bind_text(3, u"Zapłata za fakturę nr " + std::u16string(1, u'0' + i % 10));
        insert.bind_double(4, -12.34 - double(i % 1000));
        insert.bind_int(5, int32_t(i + 1));
        insert.bind_int(6, 0);
        insert.bind_int64(7, kFirstDay + i / 100 * 86400);
        insert.bind_int64(8, kFirstDay + i / 100 * 86400);
        insert.bind_text(9, kOwn);
        insert.bind_text(10, u"");
        insert.bind_int(11, 0);
        insert.execute();
    }
    tx.commit();
}

struct Made {
    int day, month, year;
    std::string amount;  // "123,45"
    std::string number;
};
Made made(int i) {
    // Days after the stored history (2040 onwards), so nothing is probably stored already.
    const int dayIndex = i / 100;
    char amount[32];
    std::snprintf(amount, sizeof amount, "%d,%02d", 1 + (i * 7919) % 900, i % 100);
    return {1 + dayIndex % 28, 1 + (dayIndex / 28) % 12, 2040 + dayIndex / 336, amount,
            std::to_string(i)};
}

std::string mt940(int count) {
    std::string text = ":20:BENCH\r\n:25:/PL" + std::string(kOwn.begin(), kOwn.end()) + "\r\n";
    for (int i = 0; i < count; ++i) {
        const Made m = made(i);
        char date[16];
        std::snprintf(date, sizeof date, "%02d%02d%02d", m.year % 100, m.month, m.day);
        text += ":61:" + std::string(date) + "D" + m.amount + "NTRFNONREF//R" + m.number +
                "\r\n:86:073~00PŁATNOŚĆ KARTĄ~20Zakupy w sklepie nr " + m.number +
                "~32Sklep Spożywczy Sp. z o.o.\r\n";
    }
    return text + "-\r\n";
}

std::string camt(int count) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Document xmlns=\"urn:iso:std:iso:20022:tech:"
        "xsd:camt.053.001.02\"><BkToCstmrStmt><Stmt><Id>BENCH</Id><Acct><Id><IBAN>PL" +
        std::string(kOwn.begin(), kOwn.end()) + "</IBAN></Id></Acct>\n";
    for (int i = 0; i < count; ++i) {
        const Made m = made(i);
        std::string amount = m.amount;
        amount[amount.find(',')] = '.';
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", m.year, m.month, m.day);
        text += "<Ntry><Amt Ccy=\"PLN\">" + amount +
                "</Amt><CdtDbtInd>DBIT</CdtDbtInd><Sts>BOOK</Sts><BookgDt><Dt>" + date +
                "</Dt></BookgDt><AcctSvcrRef>R" + m.number +
                "</AcctSvcrRef><NtryDtls><TxDtls><RltdPties><Cdtr><Nm>Sklep Spożywczy Sp. z "
                "o.o.</Nm></Cdtr></RltdPties><RmtInf><Ustrd>Zakupy w sklepie nr " +
                m.number + "</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>\n";
    }
    return text + "</Stmt></BkToCstmrStmt></Document>\n";
}

// The same operations through the download store: one job, module numbers above the stored.
double baseline(sqlite3x::connection& db, int count, int64_t stored) {
    const auto start = Clock::now();
    OperationStore store(db, nullptr);
    sqlite3x::transaction tx(db);
    for (int i = 0; i < count; ++i) {
        const Made m = made(i);
        const std::string title = "Zakupy w sklepie nr " + m.number;
        OperationRecord r{};
        r.size = sizeof r;
        r.tid = int32_t(stored + 1 + i);
        std::string amount = m.amount;
        amount[amount.find(',')] = '.';
        r.amount = -std::atof(amount.c_str());
        r.operationDate = r.postingDate = StatementValues::Noon(m.year, m.month, m.day).value_or(0);
        r.counterpartyName = "Sklep Spo\xBFywczy Sp. z o.o.";
        r.title = title.c_str();
        store.store(kOwn, r);
    }
    tx.commit();
    return msSince(start);
}

struct Timed {
    double ms = 0;
    long peakKb = 0;
    int stored = 0;
};

Timed import(sqlite3x::connection& db, const std::string& bytes) {
    resetPeak();
    const long before = residentKb("VmRSS:");
    const auto start = Clock::now();
    ImportRequest request;
    request.sha256 = StatementImport::Sha256Hex(bytes);
    const ImportSummary summary = StatementImport(db).run(StatementReader::Read(bytes), request);
    Timed timed;
    timed.ms = msSince(start);
    timed.peakKb = residentKb("VmHWM:") - before;
    timed.stored = summary.accounts.at(0).stored;
    return timed;
}

void open(sqlite3x::connection& db, const fs::path& built, const fs::path& work) {
    fs::copy_file(built, work, fs::copy_options::overwrite_existing);
    Schema::OpenDatabase(db, work.u16string(), [](const std::u16string&) {});
}

}  // namespace

int main(int argc, char** argv) {
    const int64_t size = argc > 1 ? std::max(1000LL, std::atoll(argv[1])) : 1000000;
    const int count = argc > 2 ? std::max(100, std::atoi(argv[2])) : 100000;
    setenv("TZ", "Europe/Warsaw", 0);
    const bool ownFolder = argc > 3;
    const fs::path folder =
        ownFolder ? fs::path(argv[3])
                  : fs::temp_directory_path() / ("tavro-bench-import-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path built = folder / ("built-" + std::to_string(size) + ".sq3");
    const fs::path work = folder / "work.sq3";
    if (!fs::exists(built)) {
        std::printf("building a file of %lld operations ...\n", static_cast<long long>(size));
        std::fflush(stdout);
        const fs::path building = folder / "building.sq3";
        fs::remove(building);
        fill(building, size);
        fs::rename(building, built);  // an interrupted build is never taken for a whole one
    }
    double base = 0;
    {
        sqlite3x::connection db;
        open(db, built, work);
        base = baseline(db, count, size);
    }
    std::printf("operations: %lld\nfile_operations: %d\nimport_baseline_ms: %.0f\n",
                static_cast<long long>(size), count, base);
    bool failed = false;
    // Each format in a process of its own, so one's freed memory is not the next one's.
    for (const char* name : {"mt940", "camt"}) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            const std::string bytes = std::string(name) == "mt940" ? mt940(count) : camt(count);
            // The program has its digest library loaded long before an import; so has this.
            StatementImport::Sha256Hex(name);
            sqlite3x::connection db;
            open(db, built, work);
            const Timed first = import(db, bytes);
            const Timed again = import(db, bytes);
            const auto reading = Clock::now();
            StatementReader::Read(bytes);  // reading alone, for comparison
            const double readMs = msSince(reading);
            std::printf("file_bytes.%s: %zu\nread_ms.%s: %.0f\n", name, bytes.size(), name, readMs);
            std::printf("import_ms.%s: %.0f\nimport_new.%s: %d\n", name, first.ms, name,
                        first.stored);
            std::printf("import_ratio.%s: %.3f\nreimport_ms.%s: %.0f\n", name, first.ms / base,
                        name, again.ms);
            std::printf("import_peak_kb.%s: %ld\nimport_peak_memory_ratio.%s: %.2f\n", name,
                        first.peakKb, name, first.peakKb * 1024.0 / double(bytes.size()));
            std::fflush(stdout);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        failed = failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    fs::remove(work);
    if (!ownFolder) {
        fs::remove_all(folder);
    }
    return failed ? 1 : 0;
}
