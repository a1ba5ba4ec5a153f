// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QTableView>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

#include "AppPaths.h"
#include "AppSettings.h"
#include "AppTestSupport.h"
#include "CHistoryApp.h"
#include "CHistoryDlg.h"
#include "HistoryPreload.h"
#include "HistoryReader.h"
#include "MessageBox.h"
#include "SettingsStore.h"
#include "sqlite3x.h"
#include "support/FileSizeLimit.h"

namespace fs = std::filesystem;

namespace {

std::string uniqueLock() {
    static std::atomic<int> counter{0};
    return "tavro-startup-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

unsigned mode(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

std::vector<char> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int tableCount(const fs::path& database) {
    sqlite3x::connection con;
    con.open(database.u16string());
    return con.execute_int(
        "select count(*) from sqlite_master where name in ('accounts','transactions')");
}

// Runs the program in this process; while its main window runs, `inside` sees it and closes it.
int runProgram(const std::function<void(CHistoryDlg&)>& inside) {
    CHistoryApp app(uniqueLock());
    QTimer::singleShot(0, [&] {
        CHistoryDlg* dlg = app.mainWindow();
        ASSERT_NE(dlg, nullptr);
        inside(*dlg);
        dlg->accept();
    });
    return app.Run();
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
    fs::path settingsFile() const { return m_appData.dataFolder() / "TavroHistory.config"; }
    fs::path databaseFile() const { return m_appData.dataFolder() / "masterDatabase.sq3"; }

    TempAppData m_appData;
    ScopedMessageBoxHandler m_boxes;
};

TEST_F(StartupTest, FirstStartCreatesPrivateFolderAndDatabaseAndWritesSettingsAtExit) {
    bool ran = false;
    const int code = runProgram([&](CHistoryDlg& dlg) {
        ran = true;
        EXPECT_EQ(mode(m_appData.dataFolder()), 0700u);
        EXPECT_EQ(mode(databaseFile()), 0600u);
        EXPECT_EQ(tableCount(databaseFile()), 2);
        EXPECT_FALSE(fs::exists(settingsFile())) << "settings are written only at exit";
        EXPECT_EQ(dlg.pos(), QPoint(10, 10));
        EXPECT_EQ(dlg.size(), QSize(CHistoryDlg::kMinimumWidth, CHistoryDlg::kMinimumHeight));
        EXPECT_EQ(dlg.listView()->model()->rowCount(), 0);
        const QHeaderView* header = dlg.listView()->horizontalHeader();
        EXPECT_EQ(header->sectionSize(2), 210);
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(m_boxes.calls().empty());
    ASSERT_TRUE(fs::exists(settingsFile()));
    EXPECT_EQ(mode(settingsFile()), 0600u);
    SettingsStore saved(settingsFile());
    saved.Load();
    EXPECT_EQ(saved.GetInt(u"POS/X", -5), 10);
    EXPECT_EQ(saved.GetInt(u"POS/W", -5), CHistoryDlg::kMinimumWidth);
    EXPECT_EQ(saved.GetInt(u"POS/Z", -5), 0);
    EXPECT_EQ(saved.GetInt(u"COL/1", -5), 150);
    EXPECT_EQ(AppSettings::store(), nullptr);
}

TEST_F(StartupTest, DemoWindowSaysSoInItsTitle) {
    CHistoryApp app(uniqueLock());
    app.markAsDemo();
    QString title;
    QTimer::singleShot(0, [&] {
        title = app.mainWindow()->windowTitle();
        app.mainWindow()->accept();
    });
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(title, QStringLiteral("Tavro History (demo)"));
}

TEST_F(StartupTest, StoredSettingsComeBackAtTheNextStart) {
    runProgram([](CHistoryDlg& dlg) {
        dlg.move(40, 50);
        dlg.resize(820, 610);
        dlg.listView()->horizontalHeader()->resizeSection(3, 99);
    });
    runProgram([](CHistoryDlg& dlg) {
        EXPECT_EQ(dlg.pos(), QPoint(40, 50));
        EXPECT_EQ(dlg.size(), QSize(820, 610));
        EXPECT_EQ(dlg.listView()->horizontalHeader()->sectionSize(3), 99);
    });
}

TEST_F(StartupTest, FileThatIsNotADatabaseEndsWithCodeTwo) {
    fs::create_directories(m_appData.dataFolder());
    std::ofstream(databaseFile()) << std::string(4096, 'x');
    CHistoryApp app(uniqueLock());
    EXPECT_EQ(app.Run(), 2);
    ASSERT_EQ(m_boxes.calls().size(), 1u);
    EXPECT_TRUE(m_boxes.lastText().startsWith("Exeption, Quitting\r\n"));
    // The closing sequence stored widths of 0: no columns were made.
    SettingsStore saved(settingsFile());
    saved.Load();
    EXPECT_EQ(saved.GetInt(u"COL/2", -5), 0);
    EXPECT_EQ(saved.GetInt(u"POS/X", -5), -5) << "a window never shown has no placement";
    // ... which the next start reads as "no stored width".
    std::filesystem::remove(databaseFile());
    runProgram([](CHistoryDlg& dlg) {
        EXPECT_EQ(dlg.listView()->horizontalHeader()->sectionSize(2), 210);
        EXPECT_EQ(dlg.pos(), QPoint(10, 10));
    });
}

// A folder name that is not UTF-8 (an ISO-8859-2 "ł" here) holds the data like any other.
TEST_F(StartupTest, DataFolderWhoseNameIsNotUtf8Works) {
    const fs::path root = m_appData.root() / std::string("dane-\xB3");
    fs::create_directories(root);
    ::setenv("appdata", root.c_str(), 1);  // TempAppData puts the old value back
    bool ran = false;
    EXPECT_EQ(runProgram([&](CHistoryDlg&) { ran = true; }), 0);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(m_boxes.calls().empty()) << m_boxes.lastText().toStdString();
    EXPECT_TRUE(fs::exists(root / "TavroHistory" / "masterDatabase.sq3"));
    EXPECT_TRUE(fs::exists(root / "TavroHistory" / "TavroHistory.config"));
    sqlite3x::connection con;
    con.open(AppPaths::databaseFileU16());
    EXPECT_EQ(con.execute_int("select count(*) from sqlite_master where name in "
                              "('accounts','transactions')"),
              2);
}

TEST_F(StartupTest, MissingAccountsTableFailsOnceThenStarts) {
    fs::create_directories(m_appData.dataFolder());
    {
        sqlite3x::connection con;
        con.open(databaseFile().u16string());
        con.execute(Schema::kCreateTransactions);
    }
    CHistoryApp first(uniqueLock());
    EXPECT_EQ(first.Run(), 2);
    EXPECT_EQ(m_boxes.lastText(), "Exeption, Quitting\r\n\r\nBłąd bazy danych.\r\nPlik: '" +
                                      QString::fromStdString(databaseFile().string()) + "'.");
    m_boxes.clear();
    EXPECT_EQ(runProgram([](CHistoryDlg&) {}), 0);
    EXPECT_TRUE(m_boxes.calls().empty());
}

TEST_F(StartupTest, SettingsThatCannotBeWrittenAreReported) {
    runProgram([&](CHistoryDlg&) {
        // A folder where the settings file should be makes the write fail.
        fs::create_directories(settingsFile() / "blocked");
    });
    ASSERT_FALSE(m_boxes.calls().empty());
    const MessageBox::Call call = m_boxes.calls().back();
    EXPECT_EQ(call.caption, "Błąd zapisu");
    EXPECT_EQ(call.text, QString("Podczas próby zapisu ustawień do pliku '%1' wystapił błąd, "
                                 "ustawienia nie zostaną zapisane!")
                             .arg(QString::fromStdString(settingsFile().string())));
}

TEST_F(StartupTest, SettingsOnAFullDiskKeepTheOldFileAndAreReported) {
    runProgram([](CHistoryDlg& dlg) { dlg.move(60, 70); });
    const std::vector<char> old = fileBytes(settingsFile());
    std::optional<FileSizeLimit> full;
    runProgram([&](CHistoryDlg& dlg) {
        dlg.move(80, 90);
        full.emplace(old.size() / 2);  // lifted below, after the program's exit
    });
    full.reset();
    ASSERT_FALSE(m_boxes.calls().empty());
    EXPECT_EQ(m_boxes.calls().back().caption, "Błąd zapisu");
    EXPECT_EQ(fileBytes(settingsFile()), old) << "the previous save stays byte for byte";
}

// A damaged database file: start-up says why, and the file stays byte for byte as it was, so
// that the user can recover it.
enum class Damage { NotADatabase, CutInHalf, DamagedPage };

class DamagedDatabaseTest : public StartupTest, public ::testing::WithParamInterface<Damage> {
protected:
    void damage(Damage kind) {
        std::vector<TestOperation> operations;
        for (int32_t tid = 1; tid <= 2000; ++tid) {
            operations.push_back({"", "Kontrahent", QString(100, 'T'), 1.5 * tid,
                                  "61123456780000000000000001", tid, 1, 1700000000 + tid,
                                  1700000000 + tid, 3});
        }
        CreateDatabase({{"61123456780000000000000001", "Konto"}}, operations);
        std::vector<char> bytes = fileBytes(databaseFile());
        if (kind == Damage::NotADatabase) {
            std::fill(bytes.begin(), bytes.end(), 'x');
        } else if (kind == Damage::CutInHalf) {
            bytes.resize(bytes.size() / 2);
        } else {
            const size_t page = 4096;
            const size_t middle = bytes.size() / page / 2 * page;
            std::fill(bytes.begin() + middle, bytes.begin() + middle + page, 'Z');
        }
        std::ofstream(databaseFile(), std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
};

TEST_P(DamagedDatabaseTest, StartUpSaysWhyAndLeavesTheFileByteIdentical) {
    damage(GetParam());
    const std::vector<char> before = fileBytes(databaseFile());
    CHistoryApp app(uniqueLock());
    EXPECT_EQ(app.Run(), 2);
    ASSERT_EQ(m_boxes.calls().size(), 1u);
    const QString text = m_boxes.lastText();
    EXPECT_TRUE(text.startsWith("Exeption, Quitting\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("jest uszkodzony albo nie jest bazą danych programu"))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromStdString(databaseFile().string())));
    EXPECT_EQ(fileBytes(databaseFile()), before);
    EXPECT_FALSE(fs::exists(databaseFile().string() + "-journal"));
}

std::string damageName(const ::testing::TestParamInfo<Damage>& info) {
    switch (info.param) {
        case Damage::NotADatabase:
            return "NotADatabase";
        case Damage::CutInHalf:
            return "CutInHalf";
        case Damage::DamagedPage:
            return "DamagedPage";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedDatabaseTest,
                         ::testing::Values(Damage::NotADatabase, Damage::CutInHalf,
                                           Damage::DamagedPage),
                         damageName);

TEST_F(StartupTest, DatabaseHeldByAnotherProgramIsWaitedForThenReported) {
    CreateDatabase({}, {});
    sqlite3x::connection other;
    other.open(databaseFile().u16string());
    other.execute("BEGIN EXCLUSIVE");  // as the sqlite3 shell holds it in a transaction
    CHistoryApp app(uniqueLock());
    EXPECT_EQ(app.Run(), 2);
    ASSERT_EQ(m_boxes.calls().size(), 1u);
    EXPECT_TRUE(m_boxes.lastText().contains("zablokowany przez inny program"));
    other.execute("ROLLBACK");
    m_boxes.clear();
    EXPECT_EQ(runProgram([](CHistoryDlg&) {}), 0) << "works again once the lock is gone";
    EXPECT_TRUE(m_boxes.calls().empty());
}

std::vector<int32_t> readAhead(const fs::path& file) {
    HistoryPreload preload;
    preload.start(file.u16string());
    HistoryEntries entries;
    if (!preload.take(entries)) {
        return {-1};
    }
    std::vector<int32_t> ids;
    for (const StoredOperation& e : entries) {
        ids.push_back(e.id);
    }
    return ids;
}

// The list read ahead at start-up is what the window would read; a file that is missing, held
// by another program or still needs its index is left to the window (with its messages).
TEST_F(StartupTest, ReadAheadListIsTheWindowsOwnOrNothing) {
    EXPECT_EQ(readAhead(databaseFile()), std::vector<int32_t>{-1});
    const int64_t day = LocalTime(2012, 3, 2);
    CreateDatabase(
        {{"61123456780000000000000001", "Konto"}},
        {{"1", "A", "a", 1.0, "61123456780000000000000001", 5, 1, day, day, 0},
         {"2", "B", "b", -2.0, "61123456780000000000000001", 7, 0, day, day, 0},
         {"3", "C", "c", 3.0, "61123456780000000000000001", 6, 1, day + 86400, day + 86400, 0}});
    std::vector<int32_t> expected;
    sqlite3x::connection con;
    con.open(databaseFile().u16string());
    {
        HistoryEntries entries;
        HistoryReader::Read(con, Schema::kSelectHistory, entries);
        for (const StoredOperation& e : entries) {
            expected.push_back(e.id);
        }
    }
    ASSERT_EQ(expected.size(), 3u);
    EXPECT_EQ(readAhead(databaseFile()), expected);
    con.execute("BEGIN EXCLUSIVE");
    EXPECT_EQ(readAhead(databaseFile()), std::vector<int32_t>{-1});
    con.execute("ROLLBACK");
    con.execute("DROP INDEX transactions_to_acc_tid");
    EXPECT_EQ(readAhead(databaseFile()), std::vector<int32_t>{-1});
}

// A large list is read in two halves on two connections and joined: the texts of the later
// half get the pool's numbers and the arena's one-byte codes, or are added anew when the two
// halves' letters together have too many codes; gaps in the row numbers fall on either side.
// A smaller one is read in chunks, its back half by the thread that takes it.
class ReadInHalvesTest : public StartupTest,
                         public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(ReadInHalvesTest, ListIsTheWholeList) {
    const auto [ownLetters, inChunks] = GetParam();  // letters of each half
    const int64_t day = LocalTime(2012, 3, 2);
    std::vector<TestOperation> operations;
    const QString own = "61123456780000000000000001";
    for (int i = 0; i < 300; ++i) {
        const QString letters = i < 150 ? QString(QChar(0x100 + i % ownLetters)) + "ąę"
                                        : QString(QChar(0x400 + i % ownLetters)) + "żęą";
        QString title = letters + QString::number(i);
        if (i % 50 == 7) {
            title += QString::fromUtf16(u"\U0001F600");
        }
        operations.push_back({QString::number(i % 7), "Firma " + QString::number(i % 11), title,
                              i * 0.01, i % 3 == 0 ? "11111111111111111111111111" : own, i, i % 2,
                              day + i * 3600, day + (i / 4) * 86400, i % 5});
    }
    CreateDatabase({{own, "Konto"}}, operations);
    sqlite3x::connection con;
    con.open(databaseFile().u16string());
    con.execute("DELETE FROM transactions WHERE rowid IN (3, 150, 151, 299)");
    HistoryEntries whole;
    HistoryReader::Read(con, Schema::kSelectHistory, whole);
    ASSERT_EQ(whole.size(), 296u);
    HistoryPreload preload;
    preload.start(databaseFile().u16string(), inChunks ? INT32_MAX : 10, 5);
    while (inChunks && preload.expectedRows() == 0) {
        std::this_thread::yield();  // take() helps only a reading under way
    }
    HistoryEntries halves;
    ASSERT_TRUE(preload.take(halves));
    ASSERT_EQ(halves.size(), whole.size());
    for (size_t i = 0; i < whole.size(); ++i) {
        const StoredOperation a = whole[i];
        const StoredOperation b = halves[i];
        EXPECT_EQ(a.id, b.id) << i;
        EXPECT_EQ(a.title, b.title) << a.id;
        EXPECT_EQ(a.counterpartyName, b.counterpartyName) << a.id;
        EXPECT_EQ(a.counterpartyAccount, b.counterpartyAccount) << a.id;
        EXPECT_EQ(a.ownAccount, b.ownAccount) << a.id;
        EXPECT_EQ(a.ownAccountName, b.ownAccountName) << a.id;
        EXPECT_EQ(whole.key(i).counterpartyName, halves.key(i).counterpartyName) << a.id;
    }
}

// A few letters of their own in each half, met in another order; or so many that the halves'
// letters together have more than there are one-byte codes.
INSTANTIATE_TEST_SUITE_P(Letters, ReadInHalvesTest,
                         ::testing::Combine(::testing::Values(3, 100), ::testing::Bool()));

// The real program, started while the machine-wide lock is held, must refuse to run.
TEST_F(StartupTest, SecondCopyOfTheProgramIsRefused) {
    const QString program = QStringLiteral(TAVRO_PROGRAM);
    if (!QFile::exists(program)) {
        GTEST_SKIP() << "the program is not built: " << program.toStdString();
    }
    // Hold the lock ourselves, unless a running copy already does; either way it is held.
    SingleInstance lock;
    for (int attempt = 0; attempt < 50 && !lock.acquire(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("appdata", QString::fromStdString(m_appData.root().string()));
    env.insert("TAVRO_MESSAGEBOX", "stderr");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ASAN_OPTIONS", "detect_leaks=1");
    second.setProcessEnvironment(env);
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(60000));
    const QString errors = QString::fromUtf8(second.readAllStandardError());
    EXPECT_TRUE(errors.contains(CHistoryApp::secondCopyMessage())) << errors.toStdString();
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(fs::exists(m_appData.dataFolder())) << "the second copy touches nothing";
}

}  // namespace
