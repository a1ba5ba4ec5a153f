// The operation list: its order, totals and filters.
#include "MainWindowFixture.h"

namespace {

TEST_F(MainWindowTest, ListsEveryOperationNewestFirstWithTotals) {
    open();
    EXPECT_EQ(titles(), (Titles{"Wynagrodzenie za luty", "Zakupy abc spożywcze", "Nieznane konto",
                                "Doładowanie", "Zwrot pożyczki", "Rachunek za gaz", "Prezent",
                                "Kapitalizacja", "Znaczek"}));
    EXPECT_EQ(column(0)[0], "15-03-2012");
    EXPECT_EQ(column(1)[0], "Ślęża Sp. z o.o.");
    EXPECT_EQ(column(3)[1], "-12,50");
    EXPECT_EQ(column(4)[0], "Konto osobiste");
    EXPECT_EQ(column(4)[2], "") << "an operation of an unknown account has no account name";
    EXPECT_EQ(status(),
              "Operacje [ w sumie: 9, Obc: 5 Uzn: 4 ] | [ na kwote: 1492,50pln, Obc: 212,50pln, "
              "Uzn: 1705,00pln ]");
    EXPECT_EQ(m_dlg->graph()->title(),
              "Średnie miesięczne obroty na rachunku: 383,5pln (+ 341,00, - 42,50)");
    EXPECT_EQ(m_dlg->graph()->points().size(), 5u);
    EXPECT_EQ(m_dlg->windowTitle(), "Tavro History");
}

// The full list is sorted in memory; it must come out as the database would sort it.
TEST_F(MainWindowTest, ListOrderIsThatOfTheHistoryQuery) {
    std::vector<TestOperation> more;
    const int64_t days[] = {LocalTime(2012, 3, 2), LocalTime(2012, 3, 3), LocalTime(2012, 3, 2)};
    for (int i = 0; i < 30; ++i) {
        more.push_back({"1", QString("Ties %1").arg(i), QString("T%1").arg(i), 1.0, kA,
                        (i * 7) % 11, 1, 0, days[i % 3], 0});
    }
    CreateDatabase({}, more);
    open();
    std::vector<int32_t> expected;
    {
        sqlite3x::connection con;
        con.open(AppPaths::databaseFileU16());
        sqlite3x::command cmd(con, Schema::kSelectHistory);
        sqlite3x::reader reader = cmd.execute_reader();
        while (reader.read()) {
            expected.push_back(reader.get_int(u"t_id"));
        }
    }
    std::vector<int32_t> listed;
    for (int32_t index : m_dlg->listedEntries()) {
        listed.push_back(m_dlg->entries()[static_cast<size_t>(index)].id);
    }
    ASSERT_EQ(listed.size(), expected.size());
    for (size_t i = 0; i < listed.size(); ++i) {
        const StoredOperation& a = m_dlg->entries()[static_cast<size_t>(m_dlg->listedEntries()[i])];
        if (i > 0) {
            const StoredOperation& b =
                m_dlg->entries()[static_cast<size_t>(m_dlg->listedEntries()[i - 1])];
            EXPECT_TRUE(b.bookingDate > a.bookingDate ||
                        (b.bookingDate == a.bookingDate && b.tid >= a.tid))
                << "row " << i;
        }
    }
    // Rows that tie on date and number may come in either order; all others as the query has.
    std::vector<std::pair<int64_t, int32_t>> keysListed, keysExpected;
    for (size_t i = 0; i < listed.size(); ++i) {
        const auto& e = m_dlg->entries()[static_cast<size_t>(m_dlg->listedEntries()[i])];
        keysListed.emplace_back(e.bookingDate, e.tid);
    }
    for (int32_t id : expected) {
        for (const StoredOperation& e : m_dlg->entries()) {
            if (e.id == id) {
                keysExpected.emplace_back(e.bookingDate, e.tid);
            }
        }
    }
    EXPECT_EQ(keysListed, keysExpected);
}

TEST_F(MainWindowTest, EmptyResultShowsZeroTotals) {
    open();
    QTest::keyClicks(control<QLineEdit>(CHistoryDlg::kSearchEdit), "zzzz");
    EXPECT_TRUE(titles().empty());
    EXPECT_EQ(status(),
              "Operacje [ w sumie: 0, Obc: 0 Uzn: 0 ] | [ na kwote: 0,00pln, Obc: 0,00pln, Uzn: "
              "0,00pln ]");
    EXPECT_EQ(m_dlg->graph()->title(),
              "Średnie miesięczne obroty na rachunku: 0,0pln (+ 0,00, - 0,00)");
    EXPECT_TRUE(m_dlg->graph()->points().empty());
}

struct FilterCase {
    const char* name;
    const char* search = "";
    bool negate = false;
    int operations = 0;
    int time = 0;
    int account = 0;
    int kind = 0;
    Titles expected;
};

class MainWindowFilterTest : public MainWindowTest,
                             public ::testing::WithParamInterface<FilterCase> {};

TEST_P(MainWindowFilterTest, ListsWhatTheFiltersLetThrough) {
    const FilterCase& c = GetParam();
    open();
    control<QComboBox>(CHistoryDlg::kOperationsCombo)->setCurrentIndex(c.operations);
    control<QComboBox>(CHistoryDlg::kTimeCombo)->setCurrentIndex(c.time);
    control<QComboBox>(CHistoryDlg::kAccountCombo)->setCurrentIndex(c.account);
    control<QComboBox>(CHistoryDlg::kKindCombo)->setCurrentIndex(c.kind);
    if (c.negate) {
        QTest::mouseClick(control<QCheckBox>(CHistoryDlg::kNegateCheck), Qt::LeftButton);
    }
    typeText(control<QLineEdit>(CHistoryDlg::kSearchEdit), QString::fromUtf8(c.search));
    EXPECT_EQ(control<QLineEdit>(CHistoryDlg::kSearchEdit)->text(), QString::fromUtf8(c.search));
    EXPECT_EQ(titles(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, MainWindowFilterTest,
    ::testing::Values(
        FilterCase{"CapitalsMatchSmallLetters", "ABC", false, 0, 0, 0, 0, {"Zakupy abc spożywcze"}},
        FilterCase{"PolishCapitals", "ŚLĘŻ", false, 0, 0, 0, 0, {"Wynagrodzenie za luty"}},
        FilterCase{"NameOnly", "kowalski", false, 0, 0, 0, 0, {"Zwrot pożyczki"}},
        FilterCase{"NameOnlyNegated",
                   "KOWALSKI",
                   true,
                   0,
                   0,
                   0,
                   0,
                   {"Wynagrodzenie za luty", "Zakupy abc spożywcze", "Nieznane konto",
                    "Doładowanie", "Rachunek za gaz", "Prezent", "Kapitalizacja", "Znaczek"}},
        FilterCase{"CapitalsNegated",
                   "ŻYCZ",
                   true,
                   1,
                   0,
                   0,
                   0,
                   {"Wynagrodzenie za luty", "Nieznane konto", "Kapitalizacja"}},
        FilterCase{"CounterpartyAccountIsNotSearched", "98765", false, 0, 0, 0, 0, {}},
        FilterCase{"Credits",
                   "",
                   false,
                   1,
                   0,
                   0,
                   0,
                   {"Wynagrodzenie za luty", "Nieznane konto", "Zwrot pożyczki", "Kapitalizacja"}},
        FilterCase{
            "Debits",
            "",
            false,
            2,
            0,
            0,
            0,
            {"Zakupy abc spożywcze", "Doładowanie", "Rachunek za gaz", "Prezent", "Znaczek"}},
        FilterCase{"Kind", "", false, 0, 0, 0, 1, {"Wynagrodzenie za luty", "Zwrot pożyczki"}},
        FilterCase{"Today", "", false, 0, 1, 0, 0, {"Wynagrodzenie za luty"}},
        FilterCase{"Yesterday", "", false, 0, 2, 0, 0, {"Zakupy abc spożywcze"}},
        FilterCase{"ThisMonthEndsNow",
                   "",
                   false,
                   0,
                   3,
                   0,
                   0,
                   {"Zakupy abc spożywcze", "Nieznane konto", "Doładowanie"}},
        FilterCase{
            "LastMonthOfLeapYear", "", false, 0, 4, 0, 0, {"Zwrot pożyczki", "Rachunek za gaz"}},
        FilterCase{"ThisYear",
                   "",
                   false,
                   0,
                   5,
                   0,
                   0,
                   {"Zakupy abc spożywcze", "Nieznane konto", "Doładowanie", "Zwrot pożyczki",
                    "Rachunek za gaz"}},
        FilterCase{"LastYear", "", false, 0, 6, 0, 0, {"Prezent", "Kapitalizacja"}},
        FilterCase{"TwoYearsAgo", "", false, 0, 7, 0, 0, {"Znaczek"}},
        FilterCase{"FirstAccount",
                   "",
                   false,
                   0,
                   0,
                   1,
                   0,
                   {"Wynagrodzenie za luty", "Zakupy abc spożywcze", "Doładowanie", "Prezent",
                    "Kapitalizacja"}},
        FilterCase{"SecondAccount",
                   "",
                   false,
                   0,
                   0,
                   2,
                   0,
                   {"Zwrot pożyczki", "Rachunek za gaz", "Znaczek"}},
        FilterCase{"Combined", "o", false, 2, 0, 1, 0, {"Zakupy abc spożywcze", "Doładowanie"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The list is filled anew on every filter change and shown from its top, the newest rows.
TEST_F(MainWindowTest, FilterChangeShowsTheListFromItsTop) {
    std::vector<TestOperation> more;
    for (int i = 0; i < 80; ++i) {
        more.push_back({"1", "Firma", QString("Wpłata %1").arg(i), 1.0, kA, 100 + i, 1, 0,
                        LocalTime(2012, 2, 1 + i % 28), 0});
    }
    CreateDatabase({}, more);
    open();
    QApplication::processEvents();
    QScrollBar* bar = m_dlg->listView()->verticalScrollBar();
    m_dlg->listView()->scrollToBottom();
    QApplication::processEvents();
    ASSERT_GT(bar->value(), 0);
    control<QComboBox>(CHistoryDlg::kOperationsCombo)->setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(MainWindowTest, ManualRangeUsesTheTimeOfDayOfTheTo) {
    open();
    auto* from = control<QDateTimeEdit>(CHistoryDlg::kFromPicker);
    auto* to = control<QDateTimeEdit>(CHistoryDlg::kToPicker);
    EXPECT_FALSE(from->isEnabled());
    EXPECT_EQ(to->dateTime().toSecsSinceEpoch(), kNow);
    EXPECT_EQ(to->text(), "15 marca 2012") << "the Polish long date";
    EXPECT_EQ(from->dateTime().toSecsSinceEpoch(), 0);
    control<QComboBox>(CHistoryDlg::kTimeCombo)->setCurrentIndex(8);
    EXPECT_TRUE(from->isEnabled());
    EXPECT_TRUE(to->isEnabled());
    from->setDateTime(QDateTime::fromSecsSinceEpoch(LocalTime(2012, 3, 14, 0, 0, 0)));
    to->setDateTime(QDateTime::fromSecsSinceEpoch(LocalTime(2012, 3, 14, 11, 59, 59)));
    EXPECT_TRUE(titles().empty());
    to->setDateTime(QDateTime::fromSecsSinceEpoch(LocalTime(2012, 3, 14, 12, 0, 0)));
    EXPECT_EQ(titles(), (Titles{"Zakupy abc spożywcze"}));
    control<QComboBox>(CHistoryDlg::kTimeCombo)->setCurrentIndex(0);
    EXPECT_FALSE(to->isEnabled());
    EXPECT_EQ(titles().size(), 9u);
}

TEST_F(MainWindowTest, ViewComboSwitchesBetweenListAndGraph) {
    open();
    auto* view = control<QComboBox>(CHistoryDlg::kViewCombo);
    auto* details = control<QPushButton>(CHistoryDlg::kDetailsButton);
    EXPECT_TRUE(m_dlg->listView()->isVisible());
    EXPECT_FALSE(m_dlg->graph()->isVisible());
    view->setCurrentIndex(1);
    EXPECT_FALSE(m_dlg->listView()->isVisible());
    EXPECT_TRUE(m_dlg->graph()->isVisible());
    EXPECT_FALSE(details->isEnabled());
    view->setCurrentIndex(0);
    EXPECT_TRUE(m_dlg->listView()->isVisible());
    EXPECT_FALSE(m_dlg->graph()->isVisible());
    EXPECT_TRUE(details->isEnabled());
    EXPECT_FALSE(control<QPushButton>(CHistoryDlg::kPrintButton)->isEnabled());
}

}  // namespace
