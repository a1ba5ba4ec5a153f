// SPDX-License-Identifier: GPL-3.0-or-later
// Storage failures during a download, through the worker into a real database file: a fault
// injected at write, sync and lock positions of a 1 000-operation job, a lock held by another
// connection, and a real file system that fills up.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "DownloadTexts.h"
#include "FaultDownload.h"
#include "FaultVfs.h"
#include "HostResult.h"
#include "StorageFailure.h"
#include "WorkerFixture.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kStored = 500;       // operations stored before the failing job
constexpr size_t kDownloaded = 1000;  // operations of the failing job, half of them replacements

bool sameRows(const std::vector<StoredRow>& a, const std::vector<StoredRow>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.id == y.id && x.tid == y.tid && x.toAcc == y.toAcc && x.fromName == y.fromName &&
               x.desc == y.desc && x.amount == y.amount && x.date1 == y.date1 &&
               x.date2 == y.date2 && x.kind == y.kind;
    });
}

bool anyLineHas(const std::vector<std::u16string>& lines, const std::u16string& part) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const auto& line) { return line.find(part) != std::u16string::npos; });
}

class StorageFaultFixture : public WorkerFixture {
protected:
    fs::path database() const { return m_folder.path() / "masterDatabase.sq3"; }

    void openThroughFaults() { m_db.open(database().u16string(), FaultVfs::kName); }

    void scriptHistory(size_t count, const std::string& name) {
        std::vector<std::string> lines{"account\t" + kAccountA8};
        for (size_t tid = 1; tid <= count; ++tid) {
            lines.push_back(op(static_cast<int32_t>(tid), static_cast<double>(tid) * 1.25, name));
        }
        script("jan", lines);
    }

    void downloadAgain() {
        m_ui.warnings.clear();
        m_ui.console.clear();
        download({job(u"jan", {kAccountA})});
    }

    // The stored history a failed job must leave as it was.
    void storeBefore() {
        scriptHistory(kStored, "Stary");
        downloadAgain();
        m_before = rows();
        ASSERT_EQ(m_before.size(), kStored);
    }

    // The failed job is gone, and the next one (the fault lifted) stores everything.
    void expectRolledBackThenRecovered(int primaryCode, const std::string& sqliteText) {
        EXPECT_EQ(IntegrityCheck(m_db), u"ok");
        EXPECT_TRUE(sameRows(rows(), m_before)) << "the stored history is intact";
        ASSERT_EQ(m_ui.warnings.size(), 2u);
        EXPECT_EQ(m_ui.warnings[0], WarningText(kAccountA, HostResult::StoreFailed));
        EXPECT_EQ(m_ui.warnings[1], StorageWarningText(kAccountA, primaryCode));
        EXPECT_TRUE(anyLineHas(m_ui.console, std::u16string(sqliteText.begin(), sqliteText.end())))
            << "SQLite's own message is in the console";
        downloadAgain();
        EXPECT_TRUE(m_ui.warnings.empty());
        EXPECT_EQ(rows().size(), kDownloaded);
        EXPECT_EQ(IntegrityCheck(m_db), u"ok");
    }

    std::vector<StoredRow> m_before;
};

// ---- the fault table: every fault kind at its write, sync or lock positions ----

struct FaultCase {
    const char* name;
    FaultVfs::Fault fault;
    FaultVfs::Call call;
    bool persist;  // a full disk stays full until the test lifts the fault
    int64_t step;  // every position, or every step-th one (first and last always)
    int primaryCode;
    const char* sqliteText;
    bool wholeAllowed = false;  // the job may also end stored whole
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class StorageFaultTable : public StorageFaultFixture,
                          public ::testing::WithParamInterface<FaultCase> {
protected:
    // The state before the job, restored before each position.
    void keepReference() {
        m_db.close();
        fs::copy_file(database(), m_folder.path() / "reference.sq3");
        openThroughFaults();
    }
    void restoreReference() {
        m_db.close();
        fs::copy_file(m_folder.path() / "reference.sq3", database(),
                      fs::copy_options::overwrite_existing);
        fs::remove(m_folder.path() / "masterDatabase.sq3-journal");
        openThroughFaults();
    }
};

TEST_P(StorageFaultTable, EveryPositionRollsBackTheJobAndTheNextDownloadStoresAll) {
    const FaultCase& c = GetParam();
    FaultVfs& vfs = FaultVfs::Instance();
    openThroughFaults();
    storeBefore();
    keepReference();

    // A clean run gives the positions the job passes through.
    scriptHistory(kDownloaded, "Nowy");
    vfs.resetCounts();
    downloadAgain();
    const int64_t positions = vfs.count(c.call);
    ASSERT_EQ(rows().size(), kDownloaded);
    ASSERT_GT(positions, 0);
    std::printf("[ %s ] %lld positions in the job, tried every %lld\n", c.name,
                static_cast<long long>(positions), static_cast<long long>(c.step));

    std::vector<int64_t> tried;
    for (int64_t n = 1; n <= positions; n += c.step) {
        tried.push_back(n);
    }
    if (tried.back() != positions) {
        tried.push_back(positions);
    }
    for (const int64_t n : tried) {
        SCOPED_TRACE(::testing::Message() << c.name << " at position " << n);
        restoreReference();
        vfs.arm(c.fault, n, c.persist);
        downloadAgain();
        vfs.disarm();
        ASSERT_GE(vfs.failures(), 1);
        if (c.wholeAllowed && m_ui.warnings.empty()) {
            // A failed lock that SQLite took again at the next statement: stored whole.
            EXPECT_EQ(rows().size(), kDownloaded);
            EXPECT_EQ(IntegrityCheck(m_db), u"ok");
            continue;
        }
        expectRolledBackThenRecovered(c.primaryCode, c.sqliteText);
        if (HasFailure()) {
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StorageFaultTable,
    ::testing::Values(FaultCase{"DiskFull", FaultVfs::Fault::DiskFull, FaultVfs::Call::Write, true,
                                1, SQLITE_FULL, "database or disk is full"},
                      FaultCase{"ShortWrite", FaultVfs::Fault::ShortWrite, FaultVfs::Call::Write,
                                true, 5, SQLITE_FULL, "database or disk is full"},
                      FaultCase{"WriteError", FaultVfs::Fault::WriteError, FaultVfs::Call::Write,
                                false, 5, SQLITE_IOERR, "disk I/O error"},
                      FaultCase{"SyncError", FaultVfs::Fault::SyncError, FaultVfs::Call::Sync,
                                false, 1, SQLITE_IOERR, "disk I/O error"},
                      FaultCase{"LockError", FaultVfs::Fault::LockError, FaultVfs::Call::Lock,
                                false, 1, SQLITE_IOERR, "disk I/O error", true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- another program holds the database during a download ----

TEST_F(StorageFaultFixture, LockHeldByAnotherProgramFailsTheJobAfterTheTimeOutAndNothingIsLost) {
    storeBefore();
    sqlite3x::connection other;
    other.open(database().u16string());
    other.execute("BEGIN EXCLUSIVE");  // as the sqlite3 shell holds it in a transaction

    scriptHistory(kDownloaded, "Nowy");
    const auto start = std::chrono::steady_clock::now();
    downloadAgain();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::seconds(60)) << "a held lock must not hang the download";
    ASSERT_EQ(m_ui.warnings.size(), 2u);
    EXPECT_EQ(m_ui.warnings[1], StorageWarningText(kAccountA, SQLITE_BUSY));
    EXPECT_TRUE(anyLineHas(m_ui.console, u"database is locked"));

    other.execute("ROLLBACK");
    EXPECT_TRUE(sameRows(rows(), m_before));
    downloadAgain();
    EXPECT_TRUE(m_ui.warnings.empty());
    EXPECT_EQ(rows().size(), kDownloaded);
}

// ---- a real file system that fills up ----

// A tmpfs of a few hundred kilobytes, mounted over a folder for the test's life.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const fs::path& folder) : m_folder(folder) {
        fs::create_directories(folder);
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=300k,mode=0700") == 0) {
            m_mounted = true;
        } else {
            m_error = std::strerror(errno);
        }
    }
    ~SmallFileSystem() {
        if (m_mounted) {
            ::umount2(m_folder.c_str(), MNT_DETACH);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& error() const { return m_error; }

private:
    fs::path m_folder;
    bool m_mounted = false;
    std::string m_error;
};

TEST_F(StorageFaultFixture, FullSmallFileSystemRollsBackTheJobAndKeepsTheHistory) {
    const fs::path folder = m_folder.path() / "small";
    SmallFileSystem small(folder);
    if (!small.mounted()) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << small.error()
                     << "); the fault-layer tables cover a full disk";
    }
    m_db.open((folder / "masterDatabase.sq3").u16string());
    m_db.execute(Schema::kCreateAccounts);
    m_db.execute(Schema::kCreateTransactions);
    storeBefore();
    // Long titles: the job needs more room than the file system has left.
    std::vector<std::string> lines{"account\t" + kAccountA8};
    for (int32_t tid = 1; tid <= 1000; ++tid) {
        lines.push_back(op(tid, tid, "Nowy", std::string(400, 'T')));
    }
    script("jan", lines);
    downloadAgain();
    ASSERT_EQ(m_ui.warnings.size(), 2u);
    EXPECT_EQ(m_ui.warnings[1], StorageWarningText(kAccountA, SQLITE_FULL));
    EXPECT_EQ(IntegrityCheck(m_db), u"ok");
    EXPECT_TRUE(sameRows(rows(), m_before));
    // Room again (shorter texts): the next download stores everything.
    scriptHistory(kDownloaded, "Nowy");
    downloadAgain();
    EXPECT_TRUE(m_ui.warnings.empty());
    EXPECT_EQ(rows().size(), kDownloaded);
    m_db.close();
}

}  // namespace
