// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CWndSelector.h"
#include "DialogTestSupport.h"
#include "MessageBox.h"
#include "SettingsStore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int kAccounts = 1020, kCount = 1021, kUnit = 1066;

class Selector : public ::testing::Test {
protected:
    void addAccount(const char* number, const char* name) {
        sqlite3x::command cmd(db.con, "INSERT INTO accounts VALUES(0, ?, 'u', ?, 'p', 0, 0)");
        cmd.bind_text(1, QString(number).toStdU16String());
        cmd.bind_text(2, QString(name).toStdU16String());
        cmd.execute();
    }
    void open() {
        window = std::make_unique<CWndSelector>(db.con, settings);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void setCount(const QString& text) {
        auto* edit = control<QLineEdit>(window.get(), kCount);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void press(int id) {
        QTest::mouseClick(control<QPushButton>(window.get(), id), Qt::LeftButton);
    }

    TestDatabase db;
    SettingsStore settings{(db.folder() + "/TavroHistory.config").toStdString()};
    ScopedMessageBoxHandler boxes;
    std::unique_ptr<CWndSelector> window;
};

}  // namespace

TEST_F(Selector, FirstUseOffersFourteenDaysOfAllAccounts) {
    open();
    auto* accounts = control<QComboBox>(window.get(), kAccounts);
    ASSERT_EQ(accounts->count(), 1);
    EXPECT_EQ(accounts->currentText(), "Wszystkie");
    EXPECT_EQ(control<QLineEdit>(window.get(), kCount)->text(), "14");
    EXPECT_EQ(control<QComboBox>(window.get(), kUnit)->currentText(), "dni");
    press(1);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(window->accountIndex(), 0);
    EXPECT_EQ(window->accountNumber(), "");
    EXPECT_EQ(window->days(), 14);
    EXPECT_EQ(settings.GetInt(u"DLO/PastHist", -1), 14);
    EXPECT_EQ(settings.GetInt(u"DLO/PastMP", -1), 0);
}

TEST_F(Selector, AccountsByNameAndTheChosenNumber) {
    addAccount("73111111111111111111111111", "Zeta");
    addAccount("04000000000000000000000000", "Alfa");
    addAccount("55000000000000000000000000", "Z pliku");
    db.con.execute("UPDATE accounts SET a_type=-1 WHERE a_name='Z pliku'");  // never downloaded
    open();
    auto* accounts = control<QComboBox>(window.get(), kAccounts);
    ASSERT_EQ(accounts->count(), 3);
    EXPECT_EQ(accounts->itemText(1), "04000000000000000000000000 - Alfa");
    EXPECT_EQ(accounts->itemText(2), "73111111111111111111111111 - Zeta");
    accounts->setCurrentIndex(2);
    press(1);
    EXPECT_EQ(window->accountIndex(), 2);
    EXPECT_EQ(window->accountNumber(), "73111111111111111111111111");
}

struct UnitCase {
    const char* count;
    int unit;
    int days;
};
class SelectorUnits : public Selector, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(SelectorUnits, CountIsStoredAndConvertedToDays) {
    open();
    setCount(GetParam().count);
    control<QComboBox>(window.get(), kUnit)->setCurrentIndex(GetParam().unit);
    press(1);
    EXPECT_EQ(window->days(), GetParam().days);
    EXPECT_EQ(settings.GetInt(u"DLO/PastHist", -1), QString(GetParam().count).toInt());
    EXPECT_EQ(settings.GetInt(u"DLO/PastMP", -1), GetParam().unit);
    // The next opening shows the count and unit again, not the days.
    open();
    EXPECT_EQ(control<QLineEdit>(window.get(), kCount)->text(), GetParam().count);
    EXPECT_EQ(control<QComboBox>(window.get(), kUnit)->currentIndex(), GetParam().unit);
}

INSTANTIATE_TEST_SUITE_P(Units, SelectorUnits,
                         ::testing::Values(UnitCase{"3", 0, 3}, UnitCase{"2", 1, 14},
                                           UnitCase{"2", 2, 62}, UnitCase{"1", 3, 365}));

class SelectorBadCount : public Selector, public ::testing::WithParamInterface<const char*> {};

TEST_P(SelectorBadCount, MessageKeepsWindowOpenAndStoresNothing) {
    open();
    auto* edit = control<QLineEdit>(window.get(), kCount);
    edit->setText(GetParam());  // as pasted: typing takes digits only
    control<QComboBox>(window.get(), kUnit)->setCurrentIndex(3);
    press(1);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.lastText(), "Proszę podać liczbę całkowitą od 0 do 5883516.");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(settings.GetInt(u"DLO/PastHist", -1), -1);
    EXPECT_EQ(settings.GetInt(u"DLO/PastMP", -1), -1);
}

INSTANTIATE_TEST_SUITE_P(Counts, SelectorBadCount,
                         ::testing::Values("", "1,5", "abc", "-3", "5883517", "99999999999999"));

TEST_F(Selector, TypingTakesDigitsOnlyAndCancelStoresNothing) {
    open();
    setCount("1x2");
    EXPECT_EQ(control<QLineEdit>(window.get(), kCount)->text(), "12");
    press(2);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_TRUE(settings.Entries().empty());
}
