// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CUIDialog.h"
#include "CWndDownloadUi.h"
#include "CWndProgress.h"
#include "CWndWarnings.h"
#include "DialogTestSupport.h"
#include "MessageBox.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

namespace {

class DownloadWindows : public ::testing::Test {
protected:
    DownloadWindows() : progress(new CWndProgress(&main)), warnings(new CWndWarnings(&main)) {
        progress->setAbort([this] { ++aborts; });
        main.show();
    }

    // Runs the calls on a worker thread while this thread serves the windows.
    void fromWorker(const std::function<void(DownloadUi&)>& calls) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            calls(ui);
            done = true;
        });
        while (!done) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        worker.join();
        QCoreApplication::processEvents();
    }

    CUIDialog main;
    CWndProgress* progress;
    CWndWarnings* warnings;
    int aborts = 0;
    std::vector<std::u16string> consoleLines;
    std::vector<Qt::HANDLE> consoleThreads;
    std::vector<QString> balloons;
    int finished = 0;
    CWndDownloadUi ui{
        &main, progress, warnings,
        CWndDownloadUi::Hooks{[this](const std::u16string& line) {
                                  consoleLines.push_back(line);
                                  consoleThreads.push_back(QThread::currentThreadId());
                              },
                              [this](const QString& title, const QString& text) {
                                  balloons.push_back(title + "|" + text);
                              },
                              [this] { ++finished; }}};
    ScopedMessageBoxHandler boxes{MessageBox::Answer::Yes};
};

}  // namespace

TEST_F(DownloadWindows, WorkerCallsReachTheWindows) {
    fromWorker([](DownloadUi& ui) {
        ui.enableMainWindow(false);
        ui.showProgressWindow(true);
        ui.setTaskbarState(DownloadUi::TaskbarState::Normal);
        ui.setUpperBar(40);
        ui.setLowerBar(13);
        ui.setTaskbarValue(13);
        ui.setProgressText(u"Postęp: 40%, Strona: 1");
        ui.consoleLine(u"\t --- result: 1");
        ui.addWarning(u"OSTRZEŻENIE: pierwszy\r\ndruga linia");
        ui.showBalloon(u"Nowe operacje na liście", u"Sztuk: 3, na łączną kwotę 12,50");
    });
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(progress->isVisible());
    // The main window is locked, its progress window is not.
    EXPECT_TRUE(progress->isEnabled());
    EXPECT_EQ(control<QProgressBar>(progress, 1011)->value(), 40);
    EXPECT_EQ(control<QProgressBar>(progress, 1012)->value(), 13);
    EXPECT_EQ(control<QLabel>(progress, 1013)->text(), "Postęp: 40%, Strona: 1");
    ASSERT_EQ(consoleLines.size(), 1u);
    EXPECT_EQ(consoleThreads[0], QThread::currentThreadId());
    EXPECT_EQ(warnings->lines(), QStringList{"OSTRZEŻENIE: pierwszy\ndruga linia"});
    EXPECT_FALSE(warnings->isVisible());
    EXPECT_EQ(balloons,
              std::vector<QString>{"Nowe operacje na liście|Sztuk: 3, na łączną kwotę 12,50"});

    fromWorker([](DownloadUi& ui) {
        ui.showWarnings();
        ui.enableMainWindow(true);
        ui.showProgressWindow(false);
        ui.setTaskbarState(DownloadUi::TaskbarState::NoProgress);
        ui.downloadFinished();
    });
    EXPECT_TRUE(main.isEnabled());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(warnings->isVisible());
    EXPECT_EQ(finished, 1);
}

TEST_F(DownloadWindows, QuestionWaitsForTheAnswer) {
    bool answer = false;
    fromWorker([&](DownloadUi& ui) {
        answer = ui.askYesNo(u"Czy chesz anulować pozostałe operacje?", u"Pytanie");
    });
    EXPECT_TRUE(answer);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text, "Czy chesz anulować pozostałe operacje?");
    EXPECT_EQ(boxes.calls()[0].caption, "Pytanie");
    EXPECT_EQ(boxes.calls()[0].buttons, MessageBox::Buttons::YesNo);
    EXPECT_EQ(boxes.calls()[0].icon, MessageBox::Icon::Question);

    boxes.queueAnswer(MessageBox::Answer::No);
    fromWorker([&](DownloadUi& ui) { answer = ui.askYesNo(u"?", u"Pytanie"); });
    EXPECT_FALSE(answer);
    // On the interface thread itself the call runs directly instead of waiting for itself.
    EXPECT_TRUE(ui.askYesNo(u"?", u"Pytanie"));
}

TEST_F(DownloadWindows, CancelAbortsOnceAndDisablesItselfUntilNextJob) {
    fromWorker([](DownloadUi& ui) {
        ui.enableMainWindow(false);
        ui.showProgressWindow(true);
    });
    auto* cancel = control<QPushButton>(progress, 2);
    EXPECT_EQ(cancel->text(), "&Anuluj");
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_EQ(aborts, 1);
    EXPECT_FALSE(cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QTest::keyClick(progress, Qt::Key_Escape);
    EXPECT_EQ(aborts, 1);
    EXPECT_TRUE(progress->isVisible());
    fromWorker([](DownloadUi& ui) { ui.enableCancel(); });
    EXPECT_TRUE(cancel->isEnabled());
    QTest::keyClick(progress, Qt::Key_Escape);  // Escape is Cancel
    EXPECT_EQ(aborts, 2);
    progress->hide();
    progress->show();
    EXPECT_TRUE(cancel->isEnabled());
}

TEST_F(DownloadWindows, WarningsPileUpUntilClosedWithTheButton) {
    fromWorker([](DownloadUi& ui) { ui.addWarning(u"pierwsze"); });
    fromWorker([](DownloadUi& ui) {
        ui.addWarning(u"drugie");
        ui.showWarnings();
    });
    EXPECT_EQ(warnings->lines(), (QStringList{"pierwsze", "drugie"}));
    warnings->reject();  // the close box only hides
    EXPECT_FALSE(warnings->isVisible());
    EXPECT_EQ(warnings->lines().size(), 2);
    warnings->show();
    QTest::mouseClick(control<QPushButton>(warnings, 1), Qt::LeftButton);
    EXPECT_FALSE(warnings->isVisible());
    EXPECT_TRUE(warnings->lines().isEmpty());
    fromWorker([](DownloadUi& ui) { ui.addWarning(u"trzecie"); });
    EXPECT_EQ(warnings->lines(), QStringList{"trzecie"});
    EXPECT_EQ(control<QListWidget>(warnings, 1035)->count(), 1);
}
