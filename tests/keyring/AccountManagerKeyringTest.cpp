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
              kAdd = 1019, kEdit = 1020, kDelete = 1021;
const QString kValidA = QStringLiteral("04000000000000000000000000");
const QString kValidB = QStringLiteral("73111111111111111111111111");
const QString kPassword7 = QStringLiteral("Nowe-Haslo-7");

class ManagerKeyringTest : public KeyringFixture {
protected:
    void open() {
        window = std::make_unique<CWndAccountManager>(con, CWndAccountManager::BankFiller{});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <class W>
    W* control(int id) {
        return DialogTemplate::find<W>(window.get(), id);
    }
    void add(const QString& number, const QString& name) {
        control<QLineEdit>(kNumber)->setText(number);
        control<QLineEdit>(kUser)->setText(QStringLiteral("jan"));
        control<QLineEdit>(kPassword)->clear();
        QTest::keyClicks(control<QLineEdit>(kPassword), kPassword7);
        control<QLineEdit>(kName)->setText(name);
        click(kAdd);
    }
    void click(int id) { QTest::mouseClick(control<QPushButton>(id), Qt::LeftButton); }
    void clickRow(int row) {
        auto* list = control<QTableView>(kList);
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    std::unique_ptr<CWndAccountManager> window;
};

TEST_F(ManagerKeyringTest, KeepsTheReferenceUntilRetypedAndRemovesAnItemNoAccountUses) {
    open();
    add(kValidA, QStringLiteral("Konto A"));
    add(kValidB, QStringLiteral("Konto B"));
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
    clickRow(0);
    auto* password = control<QLineEdit>(kPassword);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(password->text().isEmpty());
    control<QLineEdit>(kName)->setText(QStringLiteral("Konto AA"));
    click(kEdit);
    click(1);
    EXPECT_EQ(passes(), saved);

    // The item goes with the last account that uses it.
    for (int left : {1, 0}) {
        open();
        clickRow(0);
        click(kDelete);
        click(1);
        EXPECT_EQ(keyring->lookup(id, error).has_value(), left > 0);
    }
}

TEST_F(ManagerKeyringTest, ARefusingKeyringLeavesTheTableAsItWas) {
    RefusingKeyring refusing;
    PasswordPlace::use(&refusing, false);
    ScopedMessageBoxHandler boxes;
    open();
    add(kValidA, QStringLiteral("Konto A"));
    click(1);
    EXPECT_TRUE(boxes.lastText().contains(QStringLiteral("prompt dismissed")));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(passes(), QStringList());
}

}  // namespace
