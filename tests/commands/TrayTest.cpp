// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTimer>

#include "AppSettings.h"
#include "CommandTestSupport.h"
#include "TrayIcon.h"

namespace {

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        TrayIcon::setSimulated(true);
        CreateDatabase({}, {});
        m_harness.open();
    }
    void TearDown() override { TrayIcon::setSimulated(false); }

    CHistoryDlg& window() { return m_harness.window(); }
    void minimise() {
        window().setWindowState(window().windowState() | Qt::WindowMinimized);
        WaitFor([] { return false; }, 100);
    }

    MainWindowHarness m_harness;
};

TEST_F(TrayTest, MinimisingWithHideOnMinimizeMovesTheWindowToTheTray) {
    AppSettings::SetInt(u"HideOnMinimize", 1);
    window().show();
    EXPECT_FALSE(window().trayIcon()->isShown()) << "the icon exists only while hidden";
    minimise();
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(window().trayIcon()->isShown());

    window().trayIcon()->activate(QSystemTrayIcon::Trigger);
    window().trayIcon()->activate(QSystemTrayIcon::Context);
    EXPECT_FALSE(window().isVisible()) << "only a double click restores";

    window().trayIcon()->activate(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(window().isMinimized());
    EXPECT_FALSE(window().trayIcon()->isShown());
}

TEST_F(TrayTest, MaximisedWindowComesBackFromTheTrayMaximised) {
    AppSettings::SetInt(u"HideOnMinimize", 1);
    window().showMaximized();
    minimise();
    ASSERT_FALSE(window().isVisible());
    window().trayIcon()->activate(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(window().isMaximized());
    EXPECT_FALSE(window().isMinimized());
}

TEST_F(TrayTest, WithoutHideOnMinimizeTheWindowStaysMinimised) {
    window().show();
    minimise();
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(window().isMinimized());
    EXPECT_FALSE(window().trayIcon()->isShown());
}

// The program runs its main window modally; hiding it in the tray must not end that loop.
TEST_F(TrayTest, HidingInTheTrayKeepsTheProgramRunning) {
    AppSettings::SetInt(u"HideOnMinimize", 1);
    bool hiddenWhileRunning = false;
    bool restoredWhileRunning = false;
    QTimer::singleShot(50, &window(), [&] {
        minimise();
        hiddenWhileRunning = !window().isVisible() && window().trayIcon()->isShown();
        window().trayIcon()->activate(QSystemTrayIcon::DoubleClick);
        restoredWhileRunning = window().isVisible();
        window().accept();
    });
    QTimer::singleShot(10000, &window(), [&] { window().reject(); });  // never hang
    EXPECT_EQ(window().exec(), QDialog::Accepted);
    EXPECT_TRUE(hiddenWhileRunning);
    EXPECT_TRUE(restoredWhileRunning);
}

TEST_F(TrayTest, BalloonShowsOnlyWhileTheIconIsThere) {
    AppSettings::SetInt(u"HideOnMinimize", 1);
    int balloons = 0;
    QObject::connect(window().trayIcon(), &TrayIcon::messageShown, [&] { ++balloons; });
    window().show();
    EXPECT_FALSE(window().trayIcon()->showMessage(QStringLiteral("t"), QStringLiteral("x")));
    minimise();
    EXPECT_TRUE(window().trayIcon()->showMessage(QStringLiteral("t"), QStringLiteral("x")));
    EXPECT_EQ(balloons, 1);
}

// Without a tray the window stays minimised, standing in for the icon until it is restored.
TEST_F(TrayTest, WithoutATrayTheMinimisedWindowStandsInForTheIcon) {
    TrayIcon::setSimulated(false);
    if (window().trayIcon()->available()) {
        GTEST_SKIP() << "this desktop has a system tray";
    }
    AppSettings::SetInt(u"HideOnMinimize", 1);
    window().show();
    minimise();
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(window().trayIcon()->standsIn());
    window().showNormal();
    WaitFor([] { return false; }, 100);
    EXPECT_FALSE(window().trayIcon()->standsIn());
}

}  // namespace
