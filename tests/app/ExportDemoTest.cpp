// The demo's history (the simulated bank's year for two accounts), downloaded by the real module
// and exported by `tavro --export`: an OFX per account that libofx reads, a CSV in columns.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "AppPaths.h"
#include "AppTestSupport.h"
#include "BankServer.h"
#include "CPluginLoader.h"
#include "DownloadWorker.h"
#include "ExportReaders.h"
#include "RecordingDownloadUi.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "sqlite3x.h"

namespace {

std::u16string widen(const std::string& text) {
    return {text.begin(), text.end()};
}

// Downloads the bank's whole history into the data folder's database; the FITIDs per account.
std::map<std::string, std::set<std::string>> downloadDemo(const BankServer& bank) {
    CPluginLoader loader([](const std::u16string&) {}, bank.folder());
    loader.ScanModules();
    AppPaths::ensureDataFolder();
    sqlite3x::connection db;
    Schema::OpenDatabase(db, AppPaths::databaseFileU16(), [](const std::u16string&) {});
    SettingsStore settings(AppPaths::settingsFile());
    RecordingDownloadUi ui;
    DownloadWorker worker({db, loader, settings, ui, {}});
    DownloadJob job{widen(bank.user()), widen(bank.password()), {}, {}, 400};
    for (const std::string& account : bank.accounts()) {
        job.accounts.push_back(widen(account));
        job.names.push_back(u"Konto");
    }
    EXPECT_TRUE(worker.start(DownloadRun{{job}}));
    worker.join();
    std::map<std::string, std::set<std::string>> ids;
    sqlite3x::command select(db, "SELECT t_to_acc, t_tid FROM transactions");
    sqlite3x::reader r = select.execute_reader();
    while (r.read()) {
        const std::u16string account = r.get_string(0);
        ids[std::string(account.begin(), account.end())].insert(
            std::string(account.begin(), account.end()) + "-" + std::to_string(r.get_int(1)));
    }
    return ids;
}

}  // namespace

TEST(ExportDemo, OfxPerAccountReadsCleanlyAndCsvOpensAsColumns) {
    BankServer bank({"--seed", "2012", "--accounts", "2", "--operations", "150", "--days", "365"});
    bank.installModule();
    TempAppData appData;
    const auto ids = downloadDemo(bank);
    ASSERT_EQ(ids.size(), 2u);

    QTemporaryDir out;
    size_t total = 0;
    for (const char* file : {"/demo.ofx", "/demo.csv"}) {
        QProcess tavro;
        tavro.start(QStringLiteral(TAVRO_PROGRAM), {"--export", out.path() + file});
        ASSERT_TRUE(tavro.waitForFinished(60000));
        EXPECT_EQ(tavro.exitCode(), 0) << tavro.readAllStandardError().toStdString();
    }
    for (const auto& [account, fitIds] : ids) {
        SCOPED_TRACE(account);
        const OfxDump dump =
            RunOfxDump((out.path() + "/demo-" + QString::fromStdString(account.substr(22)) + ".ofx")
                           .toStdString());
        ASSERT_TRUE(dump.ran);
        EXPECT_TRUE(dump.problems.empty()) << dump.problems.front();
        std::set<std::string> read;
        for (const OfxDump::Block& t : dump.transactions) {
            read.insert(t.at("Financial institution's ID for this transaction"));
        }
        EXPECT_EQ(read, fitIds);
        total += fitIds.size();
    }
    std::string error;
    const auto rows = ReadCsv((out.path() + "/demo.csv").toStdString(), error);
    ASSERT_EQ(rows.size(), total + 1) << error;
    for (const auto& row : rows) {
        EXPECT_EQ(row.size(), 11u);
    }
}
