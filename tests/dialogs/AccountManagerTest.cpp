// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "BankComboSink.h"
#include "CWndAccountManager.h"
#include "DialogTestSupport.h"
#include "MessageBox.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

constexpr int kList = 1014, kNumber = 1015, kUser = 1016, kPassword = 1017, kName = 1018,
              kBank = 1032, kAdd = 1019, kEdit = 1020, kDelete = 1021;

const QString kValidA = QStringLiteral("04000000000000000000000000");
const QString kValidB = QStringLiteral("73111111111111111111111111");
const QString kValidC = QStringLiteral("71987654321098765432109876");

// One row of `accounts` as text, in column order.
std::string rowText(sqlite3x::reader& r) {
    std::string out;
    for (int i = 0; i < 7; ++i) {
        if (i > 0) {
            out += '|';
        }
        out += QString::fromStdU16String(r.get_string(i)).toStdString();
    }
    return out;
}

class AccountManager : public ::testing::Test {
protected:
    void insertAccount(const QString& number, const QString& user, const QString& name,
                       const QString& pass, int type, int autoGet) {
        sqlite3x::command cmd(db.con, "INSERT INTO accounts VALUES(0, ?, ?, ?, ?, ?, ?)");
        cmd.bind_text(1, number.toStdU16String());
        cmd.bind_text(2, user.toStdU16String());
        cmd.bind_text(3, name.toStdU16String());
        cmd.bind_text(4, pass.toStdU16String());
        cmd.bind_int(5, type);
        cmd.bind_int(6, autoGet);
        cmd.execute();
    }
    std::vector<std::string> table() {
        sqlite3x::command cmd(db.con,
                              "SELECT a_id, a_number, a_user, a_name, a_pass, a_type, a_auto_get "
                              "FROM accounts ORDER BY rowid");
        sqlite3x::reader r = cmd.execute_reader();
        std::vector<std::string> rows;
        while (r.read()) {
            rows.push_back(rowText(r));
        }
        r.close();
        return rows;
    }

    void open(CWndAccountManager::BankFiller banks = {}) {
        window = std::make_unique<CWndAccountManager>(db.con, std::move(banks));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        list = control<QTableView>(window.get(), kList);
    }
    void type(int id, const QString& text) {
        auto* edit = control<QLineEdit>(window.get(), id);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void paste(int id, const QString& text) {
        auto* edit = control<QLineEdit>(window.get(), id);
        edit->clear();
        QApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    void fill(const QString& number, const QString& user, const QString& pass,
              const QString& name) {
        paste(kNumber, number);
        type(kUser, user);
        type(kPassword, pass);
        type(kName, name);
    }
    void press(int id) {
        QTest::mouseClick(control<QPushButton>(window.get(), id), Qt::LeftButton);
    }
    void clickRow(int row) {
        const QModelIndex index = list->model()->index(row, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }
    QString cell(int row, int column) {
        return list->model()->index(row, column).data().toString();
    }
    int rows() { return list->model()->rowCount(); }

    TestDatabase db;
    ScopedMessageBoxHandler boxes;
    std::unique_ptr<CWndAccountManager> window;
    QTableView* list = nullptr;
};

}  // namespace

TEST_F(AccountManager, OpensWithRowsByNameAndHiddenColumns) {
    insertAccount(kValidB, "jan", "Oszczędności", "tajne", 3, 1);
    insertAccount(kValidA, "ala", "Bieżące", "hasło", 0, 0);
    open();
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(0, 0), "Bieżące");
    EXPECT_EQ(cell(0, 1), kValidA);
    EXPECT_EQ(cell(1, 2), "jan");
    EXPECT_EQ(cell(1, 5), "3");
    for (int column : {3, 4, 5}) {
        EXPECT_TRUE(list->isColumnHidden(column)) << column;
    }
    EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), "Rachunek");
    EXPECT_EQ(control<QLineEdit>(window.get(), kPassword)->echoMode(), QLineEdit::Password);
}

TEST_F(AccountManager, PastedSpacesAndHyphensAreStoredAsDigits) {
    open();
    fill("04 0000 0000-0000 0000 0000-0000", "ala", "pw", "Moje");
    press(kAdd);
    EXPECT_TRUE(boxes.calls().empty()) << boxes.lastText().toStdString();
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 1), kValidA);
    press(1);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(table(), std::vector<std::string>{"0|" + kValidA.toStdString() + "|ala|Moje|pw|0|0"});
}

TEST_F(AccountManager, TypingTakesDigitsOnly) {
    open();
    type(kNumber, "04 ab-00");
    EXPECT_EQ(control<QLineEdit>(window.get(), kNumber)->text(), "0400");
}

struct InvalidCase {
    const char* number;
    const char* name;
    const char* message;
};
class AccountValidation : public AccountManager,
                          public ::testing::WithParamInterface<InvalidCase> {};

TEST_P(AccountValidation, InvalidAddLeavesTheListAsItWas) {
    insertAccount(kValidB, "jan", "Stare", "x", 0, 0);
    open();
    fill(GetParam().number, "u", "p", GetParam().name);
    press(kAdd);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.lastText(), GetParam().message);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 0), "Stare");
}

INSTANTIATE_TEST_SUITE_P(Messages, AccountValidation,
                         ::testing::Values(
                             // The number is tested before the name.
                             InvalidCase{"05000000000000000000000000", "ab",
                                         "Podany numer rachunku nie jest prawidłowy!"},
                             InvalidCase{"0400000000000000000000000", "Konto",
                                         "Proszę podać prawidłowy 26-cyfrowy numer rachunku."},
                             InvalidCase{"PL04000000000000000000000000", "Konto",
                                         "Proszę podać prawidłowy 26-cyfrowy numer rachunku."},
                             InvalidCase{"", "",
                                         "Proszę podać prawidłowy 26-cyfrowy numer rachunku."},
                             InvalidCase{"04000000000000000000000000", "ab",
                                         "Proszę podać conajmniej 3 literową nazwę własną."}));

TEST_F(AccountManager, ThreeCharacterNameIsEnough) {
    open();
    fill(kValidA, "u", "p", "abc");
    press(kAdd);
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_EQ(rows(), 1);
}

TEST_F(AccountManager, EditWithoutSelectionValidatesThenDoesNothing) {
    insertAccount(kValidB, "jan", "Stare", "x", 0, 0);
    open();
    fill("123", "u", "p", "Nowe");
    press(kEdit);
    EXPECT_EQ(boxes.lastText(), "Proszę podać prawidłowy 26-cyfrowy numer rachunku.");
    boxes.clear();
    fill(kValidA, "u", "p", "Nowe");
    press(kEdit);
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_EQ(cell(0, 0), "Stare");
    EXPECT_EQ(cell(0, 1), kValidB);
}

TEST_F(AccountManager, ClickCopiesRowAndEditRewritesItWithAutoGetZero) {
    insertAccount(kValidB, "jan", "Stare", "sekret", 7, 1);
    open([](BankComboSink& sink) {
        sink.clear();
        sink.addItem(u"Autodetekcja", 0);
        sink.addItem(u"Bank A", 3);
        sink.addItem(u"Bank B", 7);
    });
    clickRow(0);
    EXPECT_EQ(control<QLineEdit>(window.get(), kName)->text(), "Stare");
    EXPECT_EQ(control<QLineEdit>(window.get(), kNumber)->text(), kValidB);
    EXPECT_EQ(control<QLineEdit>(window.get(), kUser)->text(), "jan");
    EXPECT_EQ(control<QLineEdit>(window.get(), kPassword)->text(), "sekret");
    auto* bank = control<QComboBox>(window.get(), kBank);
    EXPECT_EQ(bank->currentText(), "Bank B");

    type(kName, "Nowa nazwa");
    bank->setCurrentIndex(1);
    press(kEdit);
    EXPECT_EQ(cell(0, 0), "Nowa nazwa");
    EXPECT_EQ(cell(0, 4), "1");  // the loaded flag travels with the row, unedited
    press(1);
    EXPECT_EQ(table(), std::vector<std::string>{"0|" + kValidB.toStdString() +
                                                "|jan|Nowa nazwa|sekret|3|0"});
}

TEST_F(AccountManager, UnknownStoredTypeShowsAutodetection) {
    insertAccount(kValidB, "jan", "Stare", "x", 99, 0);
    open([](BankComboSink& sink) {
        sink.clear();
        sink.addItem(u"Autodetekcja", 0);
        sink.addItem(u"Bank A", 3);
    });
    control<QComboBox>(window.get(), kBank)->setCurrentIndex(1);
    clickRow(0);
    EXPECT_EQ(control<QComboBox>(window.get(), kBank)->currentIndex(), 0);
}

TEST_F(AccountManager, AnAccountFilledFromFilesKeepsItsBankOnEdit) {
    insertAccount(kValidB, "", "Rachunek …0010", "", -1, 0);
    open();
    clickRow(0);
    EXPECT_EQ(control<QComboBox>(window.get(), kBank)->currentText(), "Import z pliku");
    type(kName, "Wspolne");
    press(kEdit);
    press(1);
    EXPECT_EQ(table(), std::vector<std::string>{"0|" + kValidB.toStdString() + "||Wspolne||-1|0"});
}

TEST_F(AccountManager, DeleteRemovesSelectedRowOnly) {
    insertAccount(kValidA, "a", "Aaa", "x", 0, 0);
    insertAccount(kValidB, "b", "Bbb", "y", 0, 0);
    open();
    press(kDelete);  // nothing selected
    EXPECT_EQ(rows(), 2);
    clickRow(0);
    press(kDelete);
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 0), "Bbb");
    press(1);
    ASSERT_EQ(table().size(), 1u);
    EXPECT_NE(table()[0].find("|Bbb|"), std::string::npos);
}

TEST_F(AccountManager, OkWithEmptyListEmptiesTheTable) {
    insertAccount(kValidA, "a", "Aaa", "x", 0, 0);
    open();
    clickRow(0);
    press(kDelete);
    press(1);
    EXPECT_TRUE(table().empty());
}

TEST_F(AccountManager, CancelLeavesTheTableUnchanged) {
    insertAccount(kValidA, "a", "Aaa", "x", 2, 1);
    insertAccount(kValidB, "b", "Bbb", "y", 0, 0);
    const auto before = table();
    open();
    clickRow(0);
    type(kName, "Zmienione");
    press(kEdit);
    clickRow(1);
    press(kDelete);
    fill(kValidC, "c", "z", "Nowe");
    press(kAdd);
    press(2);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(table(), before);
}

TEST_F(AccountManager, ApostrophesAndQuotesAreStoredUnchanged) {
    open();
    // A non-digit after the check digits counts as 0, so this number passes the rule.
    fill("04'00000000000000000000000", "o'user\"", "p'a\"ss", "O'Brien \"x\"");
    press(kAdd);
    ASSERT_TRUE(boxes.calls().empty()) << boxes.lastText().toStdString();
    press(1);
    EXPECT_EQ(table(), std::vector<std::string>{
                           "0|04'00000000000000000000000|o'user\"|O'Brien \"x\"|p'a\"ss|0|0"});
}

TEST_F(AccountManager, FailingDeleteReportsAndKeepsWindowOpen) {
    insertAccount(kValidA, "a", "Aaa", "x", 0, 1);
    db.con.execute(
        "CREATE TRIGGER keep BEFORE DELETE ON accounts BEGIN SELECT RAISE(ABORT, 'blocked'); "
        "END");
    const auto before = table();
    open();
    fill(kValidB, "b", "y", "Bbb");
    press(kAdd);
    press(1);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastText().contains("blocked")) << boxes.lastText().toStdString();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(table(), before);
}
