// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <set>

#include "DownloadRunner.h"
#include "DownloadTexts.h"
#include "HostResult.h"
#include "WorkerFixture.h"

namespace {

class DownloadWorkerTest : public WorkerFixture {};

TEST_F(DownloadWorkerTest, SecondDownloadReplacesRowsAndCountsNothingNew) {
    script("jan", {"account\t" + kAccountA8, op(101, 10.5), op(102, -2.25), op(103, 1)});
    download({job(u"jan", {kAccountA})});
    const std::vector<StoredRow> first = rows();
    ASSERT_EQ(first.size(), 3u);
    ASSERT_EQ(m_notes.size(), 1u);
    EXPECT_EQ(m_notes[0].second, u"Sztuk: 3, na łączną kwotę 9,25");

    download({job(u"jan", {kAccountA})});
    const std::vector<StoredRow> second = rows();
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(m_notes.size(), 1u) << "nothing new, no notification";
    EXPECT_EQ(m_ui.balloons.size(), 1u) << "nothing new, no balloon";
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(second[i].tid, first[i].tid);
        EXPECT_NE(second[i].id, first[i].id) << "the row is replaced";
    }
}

TEST_F(DownloadWorkerTest, TextsAreStoredUnchanged) {
    // Windows-1250: "Zażółć" = Za \xBF \xF3 \xB3 \xE6
    const std::string name = "Firma \"Krzak\" 'S.A.' Za\xBF\xF3\xB3\xE6";
    const std::string title = "Za FV 'A/1' \"pilne\"; DROP TABLE transactions;--";
    const std::string account = "12'34\"56";
    script("jan", {"account\t" + kAccountA8, "op\t7\t0\t17\t-1234.56\t4102488000\t4102574400\t" +
                                                 account + "\t" + name + "\t" + title});
    download({job(u"jan", {kAccountA})});
    const std::vector<StoredRow> stored = rows();
    ASSERT_EQ(stored.size(), 1u);
    const StoredRow& row = stored[0];
    EXPECT_EQ(row.fromName, u"Firma \"Krzak\" 'S.A.' Zażółć");
    EXPECT_EQ(row.desc, u"Za FV 'A/1' \"pilne\"; DROP TABLE transactions;--");
    EXPECT_EQ(row.fromAcc, u"12'34\"56");
    EXPECT_EQ(row.toAcc, kAccountA);
    EXPECT_EQ(row.user, u"");
    EXPECT_DOUBLE_EQ(row.amount, -1234.56);
    EXPECT_EQ(row.tid, 7);
    EXPECT_EQ(row.tio, 0);
    EXPECT_EQ(row.kind, 17);
    EXPECT_EQ(row.date1, 4102488000) << "dates past 2038 stay whole";
    EXPECT_EQ(row.date2, 4102574400);
}

TEST_F(DownloadWorkerTest, CancelAnsweredNoRunsTheRestAndTheLastJobAsksNothing) {
    script("a", {"progress\t10\tcancelme", "block"});
    script("b", {"account\t" + kAccountB8, op(1, 5)});
    script("c", {"progress\t10\tcancelme", "block"});
    m_ui.onProgressText = [this](const std::u16string& text) {
        if (text.find(u"cancelme") != std::u16string::npos) {
            EXPECT_TRUE(m_loader.AbortRunningModule());
        }
    };
    m_ui.answer = false;
    download({job(u"a", {kAccountA}), job(u"b", {kAccountB}), job(u"c", {kAccountA})});
    EXPECT_EQ(calls().size(), 3u);
    ASSERT_EQ(m_ui.questions.size(), 1u);
    EXPECT_EQ(m_ui.questions[0].first, u"Czy chesz anulować pozostałe operacje?");
    EXPECT_EQ(m_ui.questions[0].second, u"Pytanie");
    EXPECT_EQ(rows().size(), 1u);
    ASSERT_EQ(m_ui.warnings.size(), 2u);
    EXPECT_EQ(m_ui.warnings[1], WarningText(kAccountA, ResultCode::Cancelled));
}

TEST_F(DownloadWorkerTest, CancelAnsweredYesStopsTheRun) {
    script("a", {"progress\t10\tcancelme", "block"});
    m_ui.onProgressText = [this](const std::u16string& text) {
        if (text.find(u"cancelme") != std::u16string::npos) {
            m_loader.AbortRunningModule();
        }
    };
    m_ui.answer = true;
    download({job(u"a", {kAccountA}), job(u"b", {kAccountB}), job(u"c", {kAccountA})});
    EXPECT_EQ(calls().size(), 1u);
    EXPECT_EQ(m_ui.questions.size(), 1u);
    EXPECT_EQ(m_ui.events.back(), "taskbar:0") << "the run still ends properly";
}

TEST_F(DownloadWorkerTest, OneLogOnOfTwoAccountsGivesOneNotification) {
    script("jan", {"account\t" + kAccountA8, op(1, 10.5), "account\t" + kAccountB8, op(1, 2),
                   op(2, -0.25)});
    download({job(u"jan", {kAccountA, kAccountB}, {u"Główne \"1\"", u"Drugie"})});
    EXPECT_EQ(rows().size(), 3u) << "the same bank number on two accounts is two rows";
    ASSERT_EQ(m_notes.size(), 1u);
    EXPECT_EQ(m_notes[0].first, u"Nowe operacje na koncie 'Główne \"1\"'");
    EXPECT_EQ(m_notes[0].second, u"Sztuk: 3, na łączną kwotę 12,25");
    ASSERT_EQ(m_ui.balloons.size(), 1u);
    EXPECT_EQ(m_ui.balloons[0].first, u"Nowe operacje na liście");
    EXPECT_EQ(m_ui.balloons[0].second, u"Sztuk: 3, na łączną kwotę 12,25");
    EXPECT_EQ(calls(), std::vector<std::string>{"jan 30 2 " + kAccountA8});
}

TEST_F(DownloadWorkerTest, BalloonShowsRunTotalsAfterEveryJob) {
    script("a", {"account\t" + kAccountA8, op(1, 1)});
    script("b", {"account\t" + kAccountB8, op(1, 2), op(2, 3)});
    download({job(u"a", {kAccountA}), job(u"b", {kAccountB})});
    ASSERT_EQ(m_ui.balloons.size(), 2u);
    EXPECT_EQ(m_ui.balloons[0].second, u"Sztuk: 1, na łączną kwotę 1,00");
    EXPECT_EQ(m_ui.balloons[1].second, u"Sztuk: 3, na łączną kwotę 6,00");
}

TEST_F(DownloadWorkerTest, FailedJobGivesOneWarningAndTheOtherIsStored) {
    script("a", {"account\t" + kAccountA8, op(1, 1), "result\t-3"});
    script("b", {"account\t" + kAccountB8, op(2, 2)});
    download({job(u"a", {kAccountA}), job(u"b", {kAccountB})});
    ASSERT_EQ(m_ui.warnings.size(), 1u);
    EXPECT_EQ(m_ui.warnings[0],
              u"OSTRZEŻENIE: Podczas próby pobrania historii operacji z konta\r\n'" + kAccountA +
                  u"' wystąpił błąd o kodzie 3, co oznacza:\r\nbłąd parsowania (możliwe błędne "
                  u"hasło)");
    EXPECT_EQ(rows().size(), 2u) << "operations before a failure are committed too";
    const auto& events = m_ui.events;
    const auto warnings = std::find(events.begin(), events.end(), "warnings");
    ASSERT_NE(warnings, events.end());
    EXPECT_LT(warnings, std::find(events.begin(), events.end(), "finished"));
}

TEST_F(DownloadWorkerTest, LowerBarGivesEachOfThreeJobsAThird) {
    script("p", {"progress\t0", "progress\t50\tStrona: 1", "progress\t100"});
    download({job(u"p", {kAccountA}), job(u"p", {kAccountA}), job(u"p", {kAccountA})});
    EXPECT_EQ(m_ui.lowerBar, (std::vector<int32_t>{0, 16, 33, 33, 49, 66, 66, 82, 99}));
    EXPECT_EQ(m_ui.taskbarValues, m_ui.lowerBar);
    EXPECT_EQ(m_ui.upperBar, (std::vector<int32_t>{0, 50, 100, 0, 50, 100, 0, 50, 100}));
    EXPECT_NE(std::find(m_ui.texts.begin(), m_ui.texts.end(), u"Postęp: 50%, Strona: 1"),
              m_ui.texts.end());
    EXPECT_NE(std::find(m_ui.texts.begin(), m_ui.texts.end(), u"Postęp: 100%"), m_ui.texts.end());
}

TEST_F(DownloadWorkerTest, LowerBarStaysAtZeroWithMoreThanHundredJobs) {
    script("p", {"progress\t50", "progress\t100"});
    download(std::vector<DownloadJob>(101, job(u"p", {kAccountA})));
    EXPECT_EQ(m_ui.lowerBar.size(), 202u);
    EXPECT_EQ(*std::max_element(m_ui.lowerBar.begin(), m_ui.lowerBar.end()), 0);
}

TEST_F(DownloadWorkerTest, JobWithShortFirstNumberIsSkippedSilently) {
    script("s", {"account\t" + kAccountA8, op(1, 1)});
    DownloadJob shortJob = job(u"s", {u"123456789"});
    shortJob.type = 5;
    download({shortJob, job(u"s", {kAccountA})});
    EXPECT_EQ(calls().size(), 1u);
    EXPECT_TRUE(m_ui.warnings.empty());
    EXPECT_EQ(std::count(m_ui.events.begin(), m_ui.events.end(), "cancel"), 2);
}

TEST_F(DownloadWorkerTest, WithoutTondleNoMessengerAndNoBalloon) {
    m_settings.SetInt(u"UseTondle", 0);
    script("jan", {"account\t" + kAccountA8, op(1, 1), op(2, 2)});
    download({job(u"jan", {kAccountA})});
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_TRUE(m_notes.empty());
    EXPECT_TRUE(m_ui.balloons.empty());
}

// A job that no module runs must not look like a success.
TEST_F(DownloadWorkerTest, JobWithoutModuleEndsWithUnknownErrorWarning) {
    m_folder.addModule("null_table");
    m_loader.ScanModules();
    DownloadJob unknownType = job(u"x", {kAccountA});
    unknownType.type = 77;
    DownloadJob unknownBank = job(u"x", {u"61999999990000000000000001"});
    download({unknownType, unknownBank});
    ASSERT_EQ(m_ui.warnings.size(), 2u);
    EXPECT_EQ(m_ui.warnings[0], WarningText(kAccountA, HostResult::NoModule));
    EXPECT_NE(m_ui.warnings[1].find(u"nieznany błąd"), std::u16string::npos);
    EXPECT_TRUE(calls().empty());
}

TEST_F(DownloadWorkerTest, FailedDeleteKeepsThePreviousRows) {
    script("jan", {"account\t" + kAccountA8, op(1, 1, "Stary"), op(2, 2, "Stary")});
    download({job(u"jan", {kAccountA})});
    const std::vector<StoredRow> before = rows();
    m_db.execute(
        "CREATE TRIGGER keep BEFORE DELETE ON transactions BEGIN SELECT RAISE(ABORT, "
        "'zablokowane'); END;");
    script("jan", {"account\t" + kAccountA8, op(3, 3, "Nowy"), op(1, 1, "Nowy"), op(4, 4)});
    download({job(u"jan", {kAccountA})});

    const std::vector<StoredRow> after = rows();
    ASSERT_EQ(after.size(), before.size()) << "nothing of the failed job is committed";
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].id, before[i].id);
        EXPECT_EQ(after[i].fromName, u"Stary");
    }
    ASSERT_EQ(m_ui.warnings.size(), 2u);
    EXPECT_EQ(m_ui.warnings[0], WarningText(kAccountA, HostResult::StoreFailed));
    EXPECT_EQ(m_ui.warnings[1], StorageWarningText(kAccountA, SQLITE_CONSTRAINT_TRIGGER));
    EXPECT_EQ(m_notes.size(), 1u) << "the rolled-back job announces nothing";
    const bool logged = std::any_of(m_ui.console.begin(), m_ui.console.end(), [](auto& line) {
        return line.find(u"zablokowane") != std::u16string::npos;
    });
    EXPECT_TRUE(logged);
}

TEST_F(DownloadWorkerTest, RunGivesTheWindowsBackInOrder) {
    script("jan", {});
    download({job(u"jan", {kAccountA})});
    EXPECT_EQ(m_ui.events,
              (std::vector<std::string>{"main:0", "progress:1", "taskbar:1", "cancel", "main:1",
                                        "progress:0", "finished", "taskbar:0"}));
    EXPECT_EQ(m_ui.texts, std::vector<std::u16string>{u""}) << "the text line is cleared";
    EXPECT_EQ(calls(), std::vector<std::string>{"jan 30 1 " + kAccountA8});
}

TEST_F(DownloadWorkerTest, SecondStartIsRefusedWhileRunning) {
    script("a", {"block"});
    EXPECT_FALSE(m_worker->start(DownloadRun{}));
    ASSERT_TRUE(m_worker->start(DownloadRun{{job(u"a", {kAccountA})}}));
    EXPECT_TRUE(m_worker->isRunning());
    EXPECT_FALSE(m_worker->start(DownloadRun{{job(u"b", {kAccountB})}}));
    while (!m_loader.AbortRunningModule()) {
        std::this_thread::yield();
    }
    m_worker->join();
    EXPECT_FALSE(m_worker->isRunning());
    EXPECT_EQ(calls().size(), 1u);
    script("a", {});
    EXPECT_TRUE(m_worker->start(DownloadRun{{job(u"a", {kAccountA})}}));
    m_worker->join();
    EXPECT_EQ(calls().size(), 2u);
}

struct OverallCase {
    int32_t index, count, percent, expected;
};

class OverallProgressTest : public ::testing::TestWithParam<OverallCase> {};

TEST_P(OverallProgressTest, IntegerShares) {
    const OverallCase& c = GetParam();
    EXPECT_EQ(DownloadRunner::OverallProgress(c.index, c.count, c.percent), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, OverallProgressTest,
                         ::testing::Values(OverallCase{0, 1, 57, 57}, OverallCase{0, 3, 100, 33},
                                           OverallCase{2, 3, 100, 99}, OverallCase{1, 7, 50, 21},
                                           OverallCase{100, 101, 100, 0},
                                           OverallCase{0, 0, 50, 0}));

}  // namespace
