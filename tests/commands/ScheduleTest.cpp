// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDialog>

#include "AppSettings.h"
#include "BankServer.h"
#include "Clock.h"
#include "CommandTestSupport.h"

namespace {

struct SlotCase {
    int hour;
    int minute;
    int second;
    const char* slot;  // "" when none is due
};

class ScheduleSlotTest : public ::testing::TestWithParam<SlotCase> {
protected:
    void SetUp() override {
        CreateDatabase({}, {});
        m_harness.open();
    }
    MainWindowHarness m_harness;
};

TEST_P(ScheduleSlotTest, SlotIsDueForItsWholeMinute) {
    const SlotCase& c = GetParam();
    EXPECT_EQ(m_harness.window().ScheduleSlotAt(LocalTime(2012, 3, 15, c.hour, c.minute, c.second)),
              QString::fromLatin1(c.slot));
}

INSTANTIATE_TEST_SUITE_P(Times, ScheduleSlotTest,
                         ::testing::Values(SlotCase{12, 30, 0, "1230"},
                                           SlotCase{12, 30, 59, "1230"}, SlotCase{12, 31, 0, ""},
                                           SlotCase{9, 0, 0, ""}, SlotCase{8, 0, 0, "0800"},
                                           SlotCase{10, 0, 30, "1000"}, SlotCase{18, 45, 0, "1845"},
                                           SlotCase{21, 0, 0, "2100"}, SlotCase{0, 0, 0, ""},
                                           SlotCase{20, 0, 0, ""}),
                         [](const auto& info) {
                             return QString::asprintf("At%02d%02d%02d", info.param.hour,
                                                      info.param.minute, info.param.second)
                                 .toStdString();
                         });

// Every scheduled download here runs against the simulated bank with two accounts of one
// log-on, which the schedule fetches as two jobs.
class ScheduleTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_bank = std::make_unique<BankServer>(std::vector<std::string>{
            "--accounts", "2", "--operations", "4", "--fault", "/accounts_list.aspx:delay=1"});
        m_bank->installModule();
        m_harness.createAccounts(
            {{m_bank->accounts()[0], m_bank->user(), "Konto A", m_bank->password(), 0},
             {m_bank->accounts()[1], m_bank->user(), "Konto B", m_bank->password(), 0}});
        m_harness.open(m_bank->folder());
        AppSettings::SetInt(u"AutoDownload", 1);
    }
    void TearDown() override { Clock::unpin(); }

    CHistoryDlg& window() { return m_harness.window(); }
    void tickAt(int hour, int minute) {
        Clock::pin(LocalTime(2012, 3, 15, hour, minute, 10));
        window().OnScheduleTimer();
    }
    size_t logOns() const { return m_bank->requests("POST", "/logon.aspx").size(); }
    bool idle() { return !window().downloadRunning() && window().isEnabled(); }

    std::unique_ptr<BankServer> m_bank;
    MainWindowHarness m_harness;
};

TEST_F(ScheduleTest, DueSlotDownloadsEveryAccountAsItsOwnJob) {
    tickAt(12, 30);
    EXPECT_TRUE(window().downloadRunning());
    ASSERT_TRUE(WaitFor([&] { return idle(); }));
    EXPECT_EQ(logOns(), 2u);
    EXPECT_TRUE(m_bank->violations().empty());
}

TEST_F(ScheduleTest, NoSlotOrAutoDownloadOffStartsNothing) {
    tickAt(12, 31);
    EXPECT_FALSE(window().downloadRunning());
    tickAt(9, 0);
    EXPECT_FALSE(window().downloadRunning());
    AppSettings::SetInt(u"AutoDownload", 0);
    tickAt(12, 30);
    EXPECT_FALSE(window().downloadRunning());
    EXPECT_EQ(logOns(), 0u);
}

TEST_F(ScheduleTest, RunningDownloadMakesTheSlotPass) {
    tickAt(12, 30);
    ASSERT_TRUE(window().downloadRunning());
    tickAt(12, 30);  // a second tick in the same minute
    tickAt(13, 0);
    ASSERT_TRUE(WaitFor([&] { return idle(); }));
    EXPECT_EQ(logOns(), 2u) << "only the first run's two jobs";
    EXPECT_TRUE(window().console()->lines().contains(
        QStringLiteral("Automatyczne pobieranie historii (12:30)")));
}

// Slots that fall while windows are open wait until the last one has closed, then download
// once.
TEST_F(ScheduleTest, OpenWindowsDelayTheSlotsUntilTheLastOneCloses) {
    QDialog about(&window());
    about.setModal(true);
    about.show();
    QDialog box(&about);
    box.setModal(true);
    box.show();
    tickAt(12, 30);
    tickAt(13, 0);
    EXPECT_FALSE(window().downloadRunning());
    box.close();
    WaitFor([] { return false; }, 3 * CHistoryDlg::kSlotWaitPollMs);
    EXPECT_FALSE(window().downloadRunning()) << "a window is still open";
    about.close();
    ASSERT_TRUE(WaitFor([&] { return logOns() > 0; }));
    ASSERT_TRUE(WaitFor([&] { return idle(); }));
    EXPECT_EQ(logOns(), 2u) << "one run of two jobs";
    const QStringList lines = window().console()->lines();
    EXPECT_TRUE(lines.contains(QStringLiteral(
        "\tOtwarte okno: automatyczne pobieranie (12:30) ruszy po jego zamknięciu")));
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Automatyczne pobieranie historii (12:30), odłożone do zamknięcia okna")));
}

}  // namespace
