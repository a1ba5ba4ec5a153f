#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <memory>

#include "AppPaths.h"
#include "AppSettings.h"
#include "AppTestSupport.h"
#include "CHistoryDlg.h"
#include "CHistoryListModel.h"
#include "CSatGraph.h"
#include "CUIInfoLabel.h"
#include "Clock.h"
#include "DialogTemplate.h"
#include "MessageBox.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "sqlite3x.h"

namespace {

const QString kA = QStringLiteral("11111111111111111111111111");
const QString kB = QStringLiteral("22222222222222222222222222");

// Wednesday 2012-03-15, 10:00: before the noon at which operations are dated.
const int64_t kNow = LocalTime(2012, 3, 15, 10, 0, 0);

std::vector<TestOperation> sampleOperations() {
    const auto op = [](const char* name, const char* title, double amount, const QString& own,
                       int tid, int kind, int64_t date) {
        return TestOperation{QStringLiteral("98765"),
                             QString::fromUtf8(name),
                             QString::fromUtf8(title),
                             amount,
                             own,
                             tid,
                             amount > 0 ? 1 : 0,
                             date,
                             date,
                             kind};
    };
    return {
        op("Ślęża Sp. z o.o.", "Wynagrodzenie za luty", 1000, kA, 10, 1, LocalTime(2012, 3, 15)),
        op("Sklep ABC", "Zakupy abc spożywcze", -12.5, kA, 9, 9, LocalTime(2012, 3, 14)),
        op("Operator", "Doładowanie", -100, kA, 8, 13, LocalTime(2012, 3, 1)),
        op("Jan Kowalski", "Zwrot pożyczki", 200, kB, 7, 1, LocalTime(2012, 2, 29)),
        op("Gazownia", "Rachunek za gaz", -50, kB, 6, 2, LocalTime(2012, 2, 1)),
        op("Śnieżka", "Prezent", -30, kA, 5, 3, LocalTime(2011, 12, 31)),
        op("Bank", "Kapitalizacja", 500, kA, 4, 6, LocalTime(2011, 1, 1)),
        op("Urząd", "Znaczek", -20, kB, 3, 4, LocalTime(2010, 6, 15)),
        op("Ktoś", "Nieznane konto", 5, QStringLiteral("99999999999999999999999999"), 2, 0,
           LocalTime(2012, 3, 10)),
    };
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        Clock::pin(kNow);
        CreateDatabase(
            {{kA, QStringLiteral("Konto osobiste")}, {kB, QString::fromUtf8("Oszczędności")}},
            sampleOperations());
        m_store = std::make_unique<SettingsStore>(AppPaths::settingsFile());
        AppSettings::publish(m_store.get());
    }
    void TearDown() override {
        m_dlg.reset();
        AppSettings::publish(nullptr);
        Clock::unpin();
    }

    CHistoryDlg& open() {
        m_dlg = std::make_unique<CHistoryDlg>();
        EXPECT_TRUE(m_dlg->OnInitDialog());
        m_dlg->show();
        return *m_dlg;
    }
    template <class W>
    W* control(int id) const {
        return DialogTemplate::find<W>(m_dlg.get(), id);
    }
    std::vector<QString> column(int index) const {
        std::vector<QString> out;
        const QAbstractItemModel* model = m_dlg->listView()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            out.push_back(model->data(model->index(row, index)).toString());
        }
        return out;
    }
    std::vector<QString> titles() const { return column(CHistoryListModel::kTitle); }
    QString status() const { return m_dlg->statusLabel()->text(); }

    TempAppData m_appData;
    ScopedMessageBoxHandler m_boxes;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<CHistoryDlg> m_dlg;
};

using Titles = std::vector<QString>;

// Types text key by key, Polish letters included, so that every keystroke filters.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}

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

}  // namespace

namespace {

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
