// The main window's menu and commands: console, clearing, reloading, companion windows.
#include "MainWindowFixture.h"

namespace {

TEST_F(MainWindowTest, MenuShowsItsItemsAndShowsTheConsole) {
    open();
    std::vector<QString> menus;
    for (QAction* action : m_dlg->menuBar()->actions()) {
        menus.push_back(action->text());
    }
    EXPECT_EQ(menus, (std::vector<QString>{"&Plik", "&Opcje", "&Narzędzia", "Po&moc"}));
    const auto action = [this](int command) {
        return m_dlg->findChild<QAction*>(QString::number(command));
    };
    ASSERT_NE(action(CHistoryDlg::kCmdSmsOptions), nullptr);
    EXPECT_FALSE(action(CHistoryDlg::kCmdSmsOptions)->isEnabled());
    EXPECT_FALSE(action(CHistoryDlg::kCmdForum)->isEnabled());
    EXPECT_TRUE(action(CHistoryDlg::kCmdReloadList)->isEnabled());
    EXPECT_EQ(action(CHistoryDlg::kCmdReloadList)->text(), "Przełąduj liste transakcji z bazy");

    EXPECT_FALSE(m_dlg->console()->isVisible());
    action(CHistoryDlg::kCmdShowConsole)->trigger();
    EXPECT_TRUE(m_dlg->console()->isVisible());
    const QStringList lines = m_dlg->console()->lines();
    for (const char* line : {"Start Aplikacji", "Wchodzę w sekcję krytyczną",
                             "Opuszczam sekcję krytyczną", "Inicjuje interface wtyczek ...",
                             "Przełądowuję listę transakcji", "Ładuję informacje o kontach"}) {
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
    }
}

TEST_F(MainWindowTest, ClearingAsksAndKeepsTheListOnNo) {
    open();
    auto* clear = m_dlg->findChild<QAction*>(QString::number(CHistoryDlg::kCmdClearList));
    m_boxes.queueAnswer(MessageBox::Answer::No);
    clear->trigger();
    EXPECT_EQ(m_boxes.lastText(),
              "Czy jesteś pewien, ze chcesz wyzerować całą listę operacji bankowych?");
    EXPECT_EQ(titles().size(), 9u);
    m_boxes.queueAnswer(MessageBox::Answer::Yes);
    clear->trigger();
    EXPECT_TRUE(titles().empty());
    EXPECT_EQ(control<QComboBox>(CHistoryDlg::kAccountCombo)->count(), 3) << "accounts stay";
}

TEST_F(MainWindowTest, ReloadCommandPicksUpNewOperationsAndAccounts) {
    open();
    control<QComboBox>(CHistoryDlg::kAccountCombo)->setCurrentIndex(1);
    CreateDatabase({{QStringLiteral("33333333333333333333333333"), QStringLiteral("Firma")}},
                   {{"1", "Nowy", "Nowa operacja", 3.0, kA, 50, 1, 0, LocalTime(2012, 3, 13), 0}});
    m_dlg->findChild<QAction*>(QString::number(CHistoryDlg::kCmdReloadList))->trigger();
    EXPECT_EQ(control<QComboBox>(CHistoryDlg::kAccountCombo)->currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>(CHistoryDlg::kAccountCombo)->count(), 4);
    EXPECT_EQ(titles().size(), 10u);
    EXPECT_EQ(titles()[2], "Nowa operacja");
}

TEST_F(MainWindowTest, ReloadTimerReloadsUnderTheCurrentFilters) {
    open();
    control<QComboBox>(CHistoryDlg::kOperationsCombo)->setCurrentIndex(1);
    CreateDatabase({},
                   {{"1", "Nowy", "Nowa wpłata", 3.0, kA, 50, 1, 0, LocalTime(2012, 3, 13), 0}});
    m_dlg->StartReloadTimer();
    EXPECT_EQ(titles().size(), 4u) << "not before the timer fires";
    for (int waited = 0; waited < 5000 && titles().size() != 5u; waited += 20) {
        QTest::qWait(20);
    }
    EXPECT_EQ(titles().size(), 5u);
    EXPECT_EQ(control<QComboBox>(CHistoryDlg::kOperationsCombo)->currentIndex(), 1);
}

TEST_F(MainWindowTest, CompanionWindowsStayHiddenAtStart) {
    open();
    ASSERT_NE(m_dlg->warnings(), nullptr);
    ASSERT_NE(m_dlg->progress(), nullptr);
    EXPECT_FALSE(m_dlg->warnings()->isVisible());
    EXPECT_FALSE(m_dlg->progress()->isVisible());
    EXPECT_NE(m_dlg->loader(), nullptr);
}

}  // namespace
