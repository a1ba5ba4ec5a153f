// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "CWndAccountManager.h"
#include "DialogTemplate.h"
#include "KeyringReference.h"
#include "KeyringTestSupport.h"
#include "MessageBox.h"

namespace {

constexpr int kList = 1014, kNumber = 1015, kUser = 1016, kPassword = 1017, kName = 1018,
              kAdd = 1019, kEdit = 1020, kDelete = 1021, kNote = 1022;
const QString kPassword7 = QStringLiteral("Nowe-Haslo-7");

class ManagerKeyringTest : public KeyringFixture {
protected:
    void open() {
        window = std::make_unique<CWndAccountManager>(con, CWndAccountManager::BankFiller{});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <class W = QLineEdit>
    W* control(int id) {
        return DialogTemplate::find<W>(window.get(), id);
    }
    void add(const QString& number) {
        control(kNumber)->setText(number);
        control(kUser)->setText(QStringLiteral("jan"));
        control(kPassword)->setText(kPassword7);
        control(kName)->setText(QStringLiteral("Konto ") + number.left(2));
        click(kAdd);
    }
    void click(int id) { QTest::mouseClick(control<QPushButton>(id), Qt::LeftButton); }
    void clickFirstRow() {
        auto* list = control<QTableView>(kList);
        const QRect rect = list->visualRect(list->model()->index(0, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    std::unique_ptr<CWndAccountManager> window;
};

TEST_F(ManagerKeyringTest, KeepsReferencesUntilRetypedRemovesUnusedItemsAndSurvivesARefusal) {
    open();
    EXPECT_EQ(control<QLabel>(kNote)->text(), QString());
    add(QStringLiteral("04000000000000000000000000"));
    add(QStringLiteral("73111111111111111111111111"));
    click(1);
    const QStringList saved = passes();
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved[0], saved[1]);
    const QString id = KeyringReference::idOf(saved[0]);
    QString error;
    EXPECT_EQ(keyring->lookup(id, error), kPassword7);
    EXPECT_EQ(keyringLabel(id), QStringLiteral("Tavro: jan"));
    EXPECT_FALSE(anyFileHolds(folder(), kPassword7));

    // Reopened: the password shows masked, and an edit that does not retype it keeps the item.
    open();
    clickFirstRow();
    EXPECT_EQ(control(kPassword)->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(control(kPassword)->text().isEmpty());
    control(kName)->setText(QStringLiteral("Konto AA"));
    click(kEdit);
    click(1);
    EXPECT_EQ(passes(), saved);

    // The item goes with the last account that uses it.
    for (bool left : {true, false}) {
        open();
        clickFirstRow();
        click(kDelete);
        click(1);
        EXPECT_EQ(keyring->lookup(id, error).has_value(), left);
    }

    // A keyring that refuses (a dismissed prompt) leaves the table as it was, and the window open.
    RefusingKeyring refusing;
    PasswordPlace::use(&refusing, false);
    ScopedMessageBoxHandler boxes;
    open();
    add(QStringLiteral("04000000000000000000000000"));
    click(1);
    EXPECT_TRUE(boxes.lastText().contains(QStringLiteral("prompt dismissed")));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(passes(), QStringList());
}

}  // namespace
