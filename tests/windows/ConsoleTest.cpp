// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndConsole.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <atomic>
#include <thread>

namespace {

TEST(Console, LinesFromAnotherThreadArriveInOrderBeforeAddLineReturns) {
    CWndConsole console;
    console.AddLine(QStringLiteral("Start Aplikacji"));
    constexpr int kLines = 300;
    std::atomic<bool> done = false;
    std::atomic<int> missing = 0;
    std::thread worker([&] {
        for (int i = 0; i < kLines; ++i) {
            const QString line = QStringLiteral("\t --- result: %1").arg(i);
            console.AddLine(line);
            // Synchronous delivery: the line is there as soon as the call returns.
            if (console.list()->item(console.list()->count() - 1)->text() != line) {
                ++missing;
            }
        }
        done = true;
    });
    while (!done) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    worker.join();

    const QStringList lines = console.lines();
    ASSERT_EQ(kLines + 1, lines.size());
    EXPECT_EQ(QStringLiteral("Start Aplikacji"), lines.front());
    for (int i = 0; i < kLines; ++i) {
        EXPECT_EQ(QStringLiteral("\t --- result: %1").arg(i), lines[i + 1]);
    }
    EXPECT_EQ(0, missing.load());
    EXPECT_EQ(kLines, console.list()->currentRow());
}

TEST(Console, OkOnlyHidesAndKeepsLinesAddedWhileHidden) {
    CWndConsole console;
    console.show();
    auto* ok = console.findChild<QPushButton*>(QStringLiteral("1"));
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(QStringLiteral("Konsola"), console.windowTitle());
    ok->click();
    EXPECT_FALSE(console.isVisible());
    console.AddLine(QStringLiteral("a"));
    console.AddLine(QStringLiteral("b"));
    console.show();
    EXPECT_EQ((QStringList{QStringLiteral("a"), QStringLiteral("b")}), console.lines());
    EXPECT_EQ(1, console.list()->currentRow());
    console.close();
    EXPECT_FALSE(console.isVisible());
    EXPECT_EQ(2, console.list()->count());
}

// A line longer than the list is wide can be scrolled to.
TEST(Console, LongLineGetsAHorizontalScrollBar) {
    CWndConsole console;
    console.AddLine(QStringLiteral("Start Aplikacji"));
    console.AddLine(QStringLiteral("\tPlugin (") + QString(300, QLatin1Char('x')) +
                    QStringLiteral(", \tType: 0)"));
    console.AddLine(QStringLiteral("Ładuję informacje o kontach"));
    console.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&console));
    QApplication::processEvents();
    EXPECT_GT(console.list()->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
