// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "AppSettings.h"
#include "BankServer.h"
#include "CHistoryListModel.h"
#include "CWndProgress.h"
#include "CWndSelector.h"
#include "CWndWarnings.h"
#include "CommandTestSupport.h"
#include "DialogTemplate.h"
#include "TrayIcon.h"

namespace {

// What the user saw of a download: the progress window appearing, the main window locked.
class DownloadWatch : public QObject {
public:
    DownloadWatch(CHistoryDlg& window) : m_window(window) {
        window.installEventFilter(this);
        window.progress()->installEventFilter(this);
    }
    bool progressShown = false;
    bool windowLocked = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window.progress() && event->type() == QEvent::Show) {
            progressShown = true;
        }
        if (watched == &m_window && event->type() == QEvent::EnabledChange &&
            !m_window.isEnabled()) {
            windowLocked = true;
        }
        return false;
    }

private:
    CHistoryDlg& m_window;
};

// Chooses "Wszystkie" (or the account at `index`) and a count of years in the selector.
void answerSelector(CWndSelector* selector, int index = 0) {
    DialogTemplate::find<QComboBox>(selector, 1020)->setCurrentIndex(index);
    DialogTemplate::find<QLineEdit>(selector, 1021)->setText(QStringLiteral("2"));
    DialogTemplate::find<QComboBox>(selector, 1066)->setCurrentIndex(3);  // lat
    QTest::mouseClick(DialogTemplate::find<QPushButton>(selector, 1), Qt::LeftButton);
}

size_t deliveredOperations(const BankServer& bank, const std::string& account = {}) {
    const auto dump = bank.dump();
    return static_cast<size_t>(std::count_if(dump.begin(), dump.end(), [&](const auto& op) {
        return op.delivered && (account.empty() || op.account == account);
    }));
}

class DownloadTest : public ::testing::Test {
protected:
    void TearDown() override { TrayIcon::setSimulated(false); }
    void start(const std::vector<std::string>& bankArguments) {
        m_bank = std::make_unique<BankServer>(bankArguments);
        m_bank->installModule();
    }
    AccountSpec bankAccount(size_t index, const std::string& name) const {
        return {m_bank->accounts().at(index), m_bank->user(), name, m_bank->password(), 0};
    }
    void open() {
        m_harness.open(m_bank->folder());
        window().show();
    }
    CHistoryDlg& window() { return m_harness.window(); }
    size_t logOns() const { return m_bank->requests("POST", "/logon.aspx").size(); }
    bool finished() {
        return !window().downloadRunning() && window().isEnabled() &&
               !window().progress()->isVisible();
    }

    std::unique_ptr<BankServer> m_bank;
    MainWindowHarness m_harness;
};

TEST_F(DownloadTest, DownloadThroughTheSelectorStoresShowsAndReloads) {
    start({"--accounts", "2", "--operations", "15", "--fault", "/accounts_list.aspx:delay=1"});
    m_harness.createAccounts({bankAccount(0, "Konto A"), bankAccount(1, "Konto B")});
    open();
    DownloadWatch watch(window());
    NextModal<CWndSelector> selector([](CWndSelector* dlg) { answerSelector(dlg); });
    QTest::mouseClick(DialogTemplate::find<QPushButton>(&window(), CHistoryDlg::kDownloadButton),
                      Qt::LeftButton);
    ASSERT_TRUE(selector.seen());
    EXPECT_TRUE(window().downloadRunning());

    const int64_t expected = static_cast<int64_t>(deliveredOperations(*m_bank));
    ASSERT_GT(expected, 0);
    ASSERT_TRUE(WaitFor([&] { return finished() && window().listModel()->rowCount() == expected; }))
        << window().listModel()->rowCount() << " of " << expected;
    EXPECT_EQ(m_harness.countRows("SELECT COUNT(*) FROM transactions"), expected);
    EXPECT_TRUE(watch.progressShown);
    EXPECT_TRUE(watch.windowLocked);
    EXPECT_EQ(logOns(), 1u) << "two accounts of one log-on make one job";
    EXPECT_TRUE(m_bank->violations().empty());
    EXPECT_TRUE(window().warnings()->lines().isEmpty());
    EXPECT_FALSE(window().warnings()->isVisible());
    EXPECT_TRUE(window().lastFilterResult().months.size() > 0) << "the graph has its months";
}

TEST_F(DownloadTest, OneChosenAccountIsDownloadedAlone) {
    start({"--accounts", "2", "--operations", "8"});
    m_harness.createAccounts({bankAccount(0, "Konto A"), bankAccount(1, "Konto B")});
    open();
    NextModal<CWndSelector> selector([](CWndSelector* dlg) { answerSelector(dlg, 2); });
    window().OnStartDownload();
    ASSERT_TRUE(selector.seen());
    ASSERT_TRUE(WaitFor([&] { return finished(); }));
    const std::string second = m_bank->accounts().at(1);
    EXPECT_EQ(m_harness.countRows("SELECT COUNT(*) FROM transactions"),
              static_cast<int64_t>(deliveredOperations(*m_bank, second)));
    EXPECT_EQ(m_harness.countRows(
                  ("SELECT COUNT(*) FROM transactions WHERE t_to_acc<>'" + second + "'").c_str()),
              0);
}

TEST_F(DownloadTest, FailingJobLeavesItsWarningAndTheOthersStore) {
    start({"--accounts", "2", "--operations", "6"});
    AccountSpec wrong = bankAccount(1, "Konto B");
    wrong.password = "zle-haslo";
    m_harness.createAccounts({bankAccount(0, "Konto A"), wrong});
    open();
    NextModal<CWndSelector> selector([](CWndSelector* dlg) { answerSelector(dlg); });
    window().OnStartDownload();
    ASSERT_TRUE(selector.seen());
    ASSERT_TRUE(WaitFor([&] { return finished() && window().warnings()->isVisible(); }));
    const QStringList lines = window().warnings()->lines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(
        QStringLiteral("OSTRZEŻENIE: Podczas próby pobrania historii operacji z konta\n'%1'")
            .arg(QString::fromStdString(wrong.number))))
        << lines[0].toStdString();
    EXPECT_EQ(logOns(), 2u);
    EXPECT_EQ(m_harness.countRows("SELECT COUNT(*) FROM transactions"),
              static_cast<int64_t>(deliveredOperations(*m_bank, m_bank->accounts().at(0))));
}

// Three accounts in the scheduled download are three jobs; a cancel in the first asks.
TEST_F(DownloadTest, CancelWithJobsLeftAsksWhetherToStop) {
    start({"--accounts", "3", "--operations", "4", "--fault", "/accounts_list.aspx:delay=2"});
    m_harness.createAccounts(
        {bankAccount(0, "Konto A"), bankAccount(1, "Konto B"), bankAccount(2, "Konto C")});
    open();
    m_harness.boxes().queueAnswer(MessageBox::Answer::Yes);
    window().StartScheduledDownload();
    ASSERT_TRUE(window().downloadRunning());
    ASSERT_TRUE(WaitFor([&] { return window().progress()->isVisible() && logOns() == 1; }));
    auto* cancel = DialogTemplate::find<QPushButton>(window().progress(), 2);
    ASSERT_NE(cancel, nullptr);
    ASSERT_TRUE(WaitFor([&] { return cancel->isEnabled(); }));
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return finished(); }));

    const auto calls = m_harness.boxes().calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, QStringLiteral("Czy chesz anulować pozostałe operacje?"));
    EXPECT_EQ(calls[0].caption, QStringLiteral("Pytanie"));
    EXPECT_EQ(logOns(), 1u) << "yes stops the remaining jobs";
    ASSERT_EQ(window().warnings()->lines().size(), 1);
    EXPECT_TRUE(window().warnings()->lines()[0].contains(QStringLiteral("o kodzie 8,")));
}

TEST_F(DownloadTest, ClosingDuringADownloadStopsItWithoutHanging) {
    start({"--accounts", "3", "--operations", "4", "--fault", "/accounts_list.aspx:delay=2"});
    m_harness.createAccounts(
        {bankAccount(0, "Konto A"), bankAccount(1, "Konto B"), bankAccount(2, "Konto C")});
    open();
    window().StartScheduledDownload();
    ASSERT_TRUE(WaitFor([&] { return logOns() == 1; }));
    QElapsedTimer clock;
    clock.start();
    m_harness.close();
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_TRUE(m_harness.boxes().calls().empty()) << "no question over a closing window";
    EXPECT_EQ(logOns(), 1u);
}

TEST_F(DownloadTest, NewOperationsAreAnnouncedInTheTrayBalloon) {
    TrayIcon::setSimulated(true);
    start({"--accounts", "1", "--operations", "5"});
    m_harness.createAccounts({bankAccount(0, "Konto A")});
    AppSettings::SetInt(u"HideOnMinimize", 1);
    AppSettings::SetInt(u"UseTondle", 1);
    open();
    QStringList balloons;
    QObject::connect(window().trayIcon(), &TrayIcon::messageShown,
                     [&](const QString& title, const QString& text) {
                         balloons << title + QLatin1Char('|') + text;
                     });
    window().setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(WaitFor([&] { return window().trayIcon()->isShown(); }));
    NextModal<CWndSelector> selector([](CWndSelector* dlg) { answerSelector(dlg); });
    window().OnStartDownload();
    ASSERT_TRUE(WaitFor([&] { return !window().downloadRunning() && !balloons.isEmpty(); }));
    EXPECT_TRUE(balloons[0].startsWith(
        QStringLiteral("Nowe operacje na liście|Sztuk: %1, ").arg(deliveredOperations(*m_bank))))
        << balloons[0].toStdString();
    EXPECT_FALSE(window().isVisible()) << "the download leaves the window in the tray";
}

}  // namespace
