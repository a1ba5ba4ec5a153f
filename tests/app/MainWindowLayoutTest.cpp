// The main window's controls, layout, column widths and placement.
#include "MainWindowFixture.h"

namespace {

TEST_F(MainWindowTest, ControlsCarryTheTemplateTexts) {
    open();
    auto* kinds = control<QComboBox>(CHistoryDlg::kKindCombo);
    ASSERT_EQ(kinds->count(), 20);
    EXPECT_EQ(kinds->itemText(0), "Wszystkie");
    EXPECT_EQ(kinds->itemText(17), "Opłaty za aukcje internetowe");
    EXPECT_EQ(kinds->itemText(19), "Wygaśnięcie lokaty");
    auto* time = control<QComboBox>(CHistoryDlg::kTimeCombo);
    ASSERT_EQ(time->count(), 9);
    EXPECT_EQ(time->itemText(4), "Zeszły miesiąc");
    EXPECT_EQ(time->itemText(8), "Parametry Ręczne");
    auto* accounts = control<QComboBox>(CHistoryDlg::kAccountCombo);
    ASSERT_EQ(accounts->count(), 3);
    EXPECT_EQ(accounts->itemText(1), kA + " - Konto osobiste");
    EXPECT_EQ(accounts->itemText(2), kB + " - Oszczędności");
    EXPECT_EQ(control<QCheckBox>(CHistoryDlg::kNegateCheck)->text(), "Nie zawierające ciągu");
    EXPECT_EQ(control<QPushButton>(CHistoryDlg::kDownloadButton)->text(), "Po&bierz");
}

TEST_F(MainWindowTest, LayoutFollowsTheWindowAndKeepsTheMinimum) {
    open();
    m_dlg->resize(300, 200);
    EXPECT_GE(m_dlg->width(), CHistoryDlg::kMinimumWidth);
    EXPECT_GE(m_dlg->height(), CHistoryDlg::kMinimumHeight);
    m_dlg->resize(900, 700);
    QApplication::processEvents();
    const QWidget* client = m_dlg->listView()->parentWidget();
    const QRect view = control<QComboBox>(CHistoryDlg::kViewCombo)->geometry();
    const QRect list = m_dlg->listView()->geometry();
    EXPECT_EQ(list.x(), 5);
    EXPECT_EQ(list.y(), view.y() + view.height() + 10);
    EXPECT_EQ(list.width(), client->width() - 15);
    EXPECT_EQ(list.y() + list.height(), client->height() - 40);
    EXPECT_EQ(m_dlg->graph()->geometry(), list);
    EXPECT_EQ(m_dlg->statusLabel()->geometry(),
              QRect(5, client->height() - 35, client->width() - 15, 28));
}

TEST_F(MainWindowTest, StoredColumnWidthsApplyOnlyWhenPositive) {
    m_store->SetInt(u"COL/1", 123);
    m_store->SetInt(u"COL/2", 0);
    m_store->SetInt(u"COL/3", -7);
    open();
    const QHeaderView* header = m_dlg->listView()->horizontalHeader();
    EXPECT_EQ(header->sectionSize(0), 80);
    EXPECT_EQ(header->sectionSize(1), 123);
    EXPECT_EQ(header->sectionSize(2), 210);
    EXPECT_EQ(header->sectionSize(3), 65);
    EXPECT_EQ(header->sectionSize(4), 80);
    EXPECT_EQ(header->sectionsClickable(), false);
    m_dlg->listView()->horizontalHeader()->resizeSection(4, 111);
    m_dlg->OnDestroy();
    EXPECT_EQ(m_store->GetInt(u"COL/4", -1), 111);
    EXPECT_EQ(m_store->GetInt(u"COL/2", -1), 210);
}

TEST_F(MainWindowTest, StoredPlacementIsRestoredAndRaisedToTheMinimum) {
    m_store->SetInt(u"POS/X", 30);
    m_store->SetInt(u"POS/Y", 40);
    m_store->SetInt(u"POS/W", 500);
    m_store->SetInt(u"POS/H", 900);
    open();
    EXPECT_EQ(m_dlg->pos(), QPoint(30, 40));
    EXPECT_EQ(m_dlg->size(), QSize(CHistoryDlg::kMinimumWidth, 900));
    EXPECT_FALSE(m_dlg->isMaximized());
}

TEST_F(MainWindowTest, SizeOfAMinimisedWindowLeavesPlacementToTheSystem) {
    m_store->SetInt(u"POS/X", 222);
    m_store->SetInt(u"POS/Y", 333);
    m_store->SetInt(u"POS/W", 160);
    m_store->SetInt(u"POS/H", 400);
    open();
    EXPECT_NE(m_dlg->pos(), QPoint(222, 333));
    EXPECT_GE(m_dlg->width(), CHistoryDlg::kMinimumWidth);
    EXPECT_GE(m_dlg->height(), CHistoryDlg::kMinimumHeight);
}

TEST_F(MainWindowTest, MaximisedFlagIsRestoredAndKeepsTheNormalPlacement) {
    m_store->SetInt(u"POS/X", 30);
    m_store->SetInt(u"POS/Y", 40);
    m_store->SetInt(u"POS/W", 720);
    m_store->SetInt(u"POS/H", 560);
    m_store->SetInt(u"POS/Z", 1);
    open();
    EXPECT_TRUE(m_dlg->isMaximized());
    m_dlg->OnDestroy();
    EXPECT_EQ(m_store->GetInt(u"POS/Z", -1), 1);
    // A maximised window does not overwrite the size it is restored to.
    EXPECT_EQ(m_store->GetInt(u"POS/W", -1), 720);
    EXPECT_EQ(m_store->GetInt(u"POS/X", -1), 30);
}

}  // namespace
