// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "BankServer.h"
#include "CPluginLoader.h"
#include "DownloadWorker.h"
#include "RecordingDownloadUi.h"
#include "SettingsStore.h"
#include "sqlite3x.h"

namespace {

using Key = std::pair<std::u16string, int32_t>;

std::u16string widen(const std::string& digits) {
    return {digits.begin(), digits.end()};
}

std::set<Key> storedKeys(sqlite3x::connection& db, size_t& rows) {
    std::set<Key> keys;
    rows = 0;
    sqlite3x::command select(db, "SELECT t_to_acc, t_tid FROM transactions");
    sqlite3x::reader r = select.execute_reader();
    while (r.read()) {
        keys.emplace(r.get_string(0), r.get_int(1));
        ++rows;
    }
    return keys;
}

// The real module against the simulated bank: a large history lands once, and a second
// download finds nothing new.
TEST(DownloadEndToEndTest, StoresTheBankHistoryOnceAndASecondRunAddsNothing) {
    BankServer bank({"--accounts", "2", "--operations", "260", "--days", "300"});
    bank.installModule();
    std::vector<std::u16string> console;
    CPluginLoader loader([&console](const std::u16string& line) { console.push_back(line); },
                         bank.folder());
    loader.ScanModules();
    ASSERT_EQ(loader.modules().size(), 1u);

    sqlite3x::connection db;
    Schema::OpenDatabase(db, (bank.folder() / "masterDatabase.sq3").u16string(),
                         [](const std::u16string&) {});
    SettingsStore settings(bank.folder() / "TavroHistory.config");
    settings.SetInt(u"UseTondle", 1);
    RecordingDownloadUi ui;
    std::vector<std::u16string> notes;
    DownloadWorker worker(
        {db, loader, settings, ui,
         [&notes](const std::u16string&, const std::u16string& text) { notes.push_back(text); }});

    DownloadJob job;
    job.user = widen(bank.user());
    job.password = widen(bank.password());
    for (const std::string& account : bank.accounts()) {
        job.accounts.push_back(widen(account));
        job.names.push_back(u"Konto");
    }
    job.days = 400;

    std::set<Key> expected;
    for (const DumpedOperation& op : bank.dump()) {
        if (op.delivered) {
            expected.emplace(widen(op.account), op.tid);
        }
    }
    ASSERT_GE(expected.size(), 500u);

    ASSERT_TRUE(worker.start(DownloadRun{{job}}));
    worker.join();
    EXPECT_TRUE(ui.warnings.empty()) << (ui.warnings.empty() ? "" : "a warning");
    size_t rows = 0;
    EXPECT_EQ(storedKeys(db, rows), expected);
    EXPECT_EQ(rows, expected.size());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].rfind(u"Sztuk: " + widen(std::to_string(expected.size())) + u",", 0), 0u);

    ASSERT_TRUE(worker.start(DownloadRun{{job}}));
    worker.join();
    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_EQ(storedKeys(db, rows), expected);
    EXPECT_EQ(rows, expected.size()) << "nothing stored twice";
    EXPECT_EQ(notes.size(), 1u) << "nothing new the second time";
    EXPECT_EQ(ui.lowerBar.back(), 100);
    EXPECT_TRUE(bank.violations().empty());
}

}  // namespace
