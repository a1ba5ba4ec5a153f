// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "AppSettings.h"
#include "CHistoryListModel.h"
#include "CWndFileDialog.h"
#include "CWndImport.h"
#include "Clock.h"
#include "CommandTestSupport.h"
#include "DialogTemplate.h"
#include "sqlite3x.h"

namespace {

const QString kA = QStringLiteral("11111111111111111111111111");
const QString kB = QStringLiteral("22222222222222222222222222");

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::pin(LocalTime(2012, 3, 15, 10));
        CreateDatabase(
            {{kA, QStringLiteral("Konto osobiste")}, {kB, QStringLiteral("Lokata")}},
            {{QStringLiteral("98765"), QStringLiteral("Sklep"), QStringLiteral("Zakupy spożywcze"),
              -12.5, kA, 9, 0, LocalTime(2012, 3, 14), LocalTime(2012, 3, 14), 9},
             {QStringLiteral("12345"), QStringLiteral("Firma"), QStringLiteral("Wynagrodzenie"),
              1000, kB, 10, 1, LocalTime(2012, 3, 15), LocalTime(2012, 3, 15), 1}});
        m_harness.open();
        window().show();
    }
    void TearDown() override { Clock::unpin(); }

    CHistoryDlg& window() { return m_harness.window(); }
    QAction* action(int command) { return window().findChild<QAction*>(QString::number(command)); }
    template <class W>
    W* control(int id) {
        return DialogTemplate::find<W>(&window(), id);
    }
    // Selects and focuses the list row, as a click does.
    void selectRow(int row) {
        QTableView* list = window().listView();
        list->setCurrentIndex(list->model()->index(row, 0));
        list->selectRow(row);
    }

    MainWindowHarness m_harness;
};

// Each menu as the user sees it: "-" a separator, "!" before a greyed item.
TEST_F(CommandsTest, MenuHasEveryItemInItsPlace) {
    std::vector<QStringList> menus;
    for (QAction* title : window().menuBar()->actions()) {
        QStringList items{title->text()};
        for (QAction* item : title->menu()->actions()) {
            if (item->isSeparator()) {
                items << QStringLiteral("-");
            } else {
                items << (item->isEnabled() ? QString() : QStringLiteral("!")) + item->text() +
                             QStringLiteral("=") + item->objectName();
            }
        }
        menus.push_back(items);
    }
    const std::vector<QStringList> expected = {
        {"&Plik", "&Pokaz konsolę=32772", "-", "Pobierz historię operacji...=32776",
         "Eksportuj...=32777", "Importuj wyciąg...=32786", "-", "&Zamknij=32771"},
        {"&Opcje", "Edytuj listę kont ...=32774", "-", "!Opcje SMS ...=32782", "Opcje ...=32785"},
        {"&Narzędzia", "Sprawdź numer konta ...=32779", "-", "Cofnij import...=32787",
         "Wyczyść listę transakcji...=32773", "Przełąduj liste transakcji z bazy=32780"},
        {"Po&moc", "!Zgłoś błąd / propozycję=32778", "!Forum ...=32783", "-",
         "O programie ...=32775"},
    };
    EXPECT_EQ(menus, expected);
}

struct OpensCase {
    const char* name;
    int command;  // menu command, or a button id
    bool button;
    const char* windowClass;
};

class CommandOpensWindowTest : public CommandsTest,
                               public ::testing::WithParamInterface<OpensCase> {};

TEST_P(CommandOpensWindowTest, OpensItsWindowModallyOverTheMainWindow) {
    const OpensCase& c = GetParam();
    QString seen;
    QWidget* parent = nullptr;
    NextModal<QDialog> answer([&](QDialog* dlg) {
        seen = QString::fromLatin1(dlg->metaObject()->className());
        parent = dlg->parentWidget();
        dlg->reject();
    });
    if (c.button) {
        QTest::mouseClick(control<QPushButton>(c.command), Qt::LeftButton);
    } else {
        action(c.command)->trigger();
    }
    EXPECT_TRUE(answer.seen());
    EXPECT_EQ(seen, QString::fromLatin1(c.windowClass));
    EXPECT_EQ(parent, &window());
    EXPECT_FALSE(window().downloadRunning()) << "a cancelled selector starts nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandOpensWindowTest,
    ::testing::Values(
        OpensCase{"Download", CHistoryDlg::kCmdDownload, false, "CWndSelector"},
        OpensCase{"DownloadButton", CHistoryDlg::kDownloadButton, true, "CWndSelector"},
        OpensCase{"Export", CHistoryDlg::kCmdExport, false, "CWndExport"},
        OpensCase{"Import", CHistoryDlg::kCmdImport, false, "QFileDialog"},
        OpensCase{"UndoImport", CHistoryDlg::kCmdUndoImport, false, "CWndImportUndo"},
        OpensCase{"AccountManager", CHistoryDlg::kCmdAccountManager, false, "CWndAccountManager"},
        OpensCase{"Options", CHistoryDlg::kCmdOptions, false, "CWndOptions"},
        OpensCase{"CheckNumber", CHistoryDlg::kCmdCheckNumber, false, "CWndNRBCalc"},
        OpensCase{"About", CHistoryDlg::kCmdAbout, false, "CAboutDlg"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, AStatementDroppedOnTheWindowIsImportedThroughTheImportWindow) {
    QTemporaryDir dir;
    QFile file(dir.path() + "/wyciag.sta");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray account = "61109010140000071219812874";  // a valid number, a new account
    file.write(":20:K\n:25:" + account + "\n:61:120313D7,00NMSCNONREF\n:86:~20Bilet\n-\n");
    file.close();
    int tabs = 0;
    NextModal<CWndImport> answer([&tabs](CWndImport* dlg) {
        tabs = dlg->pageCount();
        QTest::mouseClick(DialogTemplate::find<QPushButton>(dlg, CWndImport::kImport),
                          Qt::LeftButton);
    });
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file.fileName())});
    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(&window(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(&window(), &drop);
    ASSERT_TRUE(WaitFor([&answer] { return answer.seen(); }))
        << m_harness.boxes().lastText().toStdString();
    EXPECT_EQ(tabs, 1);
    EXPECT_TRUE(window().console()->lines().contains(
        QString::fromLatin1(account) +
        ": nowe 1, już zapisane 0, prawdopodobnie zapisane 0, pominięte 0"));
    EXPECT_TRUE(WaitFor([this] { return window().listView()->model()->rowCount() == 3; }));
}

TEST_F(CommandsTest, DetailsShowTheSelectedOperation) {
    selectRow(1);  // newest first: the shop is the second row
    QString title;
    QString own;
    NextModal<QDialog> answer([&](QDialog* dlg) {
        for (auto* edit : dlg->findChildren<QPlainTextEdit*>()) {
            title += edit->toPlainText() + QLatin1Char('|');
        }
        for (auto* edit : dlg->findChildren<QLineEdit*>()) {
            own += edit->text() + QLatin1Char('|');
        }
        dlg->reject();
    });
    QTest::mouseClick(control<QPushButton>(CHistoryDlg::kDetailsButton), Qt::LeftButton);
    ASSERT_TRUE(answer.seen());
    EXPECT_TRUE(title.contains(QStringLiteral("Zakupy spożywcze"))) << title.toStdString();
    EXPECT_TRUE(own.contains(QStringLiteral("14-03-2012"))) << own.toStdString();
}

TEST_F(CommandsTest, DoubleClickOnAnItemShowsItsDetails) {
    selectRow(0);
    NextModal<QDialog> answer([](QDialog* dlg) { dlg->reject(); });
    QTableView* list = window().listView();
    const QRect cell = list->visualRect(list->model()->index(0, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(answer.seen());
}

TEST_F(CommandsTest, DetailsRightAfterAFilterChangeDoNothing) {
    selectRow(0);
    control<QLineEdit>(CHistoryDlg::kSearchEdit)->setText(QStringLiteral("a"));
    NextModal<QDialog> answer([](QDialog* dlg) { dlg->reject(); }, 300);
    window().OnDetails();
    WaitFor([] { return false; }, 400);
    EXPECT_FALSE(answer.seen());
}

TEST_F(CommandsTest, DetailsDoNothingWhileTheGraphIsShown) {
    selectRow(0);
    control<QComboBox>(CHistoryDlg::kViewCombo)->setCurrentIndex(1);
    NextModal<QDialog> answer([](QDialog* dlg) { dlg->reject(); }, 300);
    window().OnDetails();
    WaitFor([] { return false; }, 400);
    EXPECT_FALSE(answer.seen());
}

TEST_F(CommandsTest, ClearQuestionAnsweredNoLeavesTheTable) {
    m_harness.boxes().queueAnswer(MessageBox::Answer::No);
    action(CHistoryDlg::kCmdClearList)->trigger();
    EXPECT_EQ(
        m_harness.boxes().lastText(),
        QStringLiteral("Czy jesteś pewien, ze chcesz wyzerować całą listę operacji bankowych?"));
    EXPECT_EQ(m_harness.countRows("SELECT COUNT(*) FROM transactions"), 2);
    EXPECT_EQ(window().listModel()->rowCount(), 2);

    m_harness.boxes().queueAnswer(MessageBox::Answer::Yes);
    action(CHistoryDlg::kCmdClearList)->trigger();
    EXPECT_EQ(m_harness.countRows("SELECT COUNT(*) FROM transactions"), 0);
    EXPECT_EQ(m_harness.countRows("SELECT COUNT(*) FROM accounts"), 2);
    EXPECT_EQ(window().listModel()->rowCount(), 0);
}

TEST_F(CommandsTest, AccountManagerIsFollowedByAReload) {
    // An account added behind the window's back shows in the filter after the manager closes.
    sqlite3x::command add(window().connection(), Schema::kInsertAccount);
    for (auto [index, text] :
         {std::pair{1, u"33333333333333333333333333"}, {2, u"u"}, {3, u"Nowe konto"}, {4, u"p"}}) {
        add.bind_text(index, text);
    }
    add.bind_int(5, 0);
    add.execute();
    NextModal<QDialog> answer([](QDialog* dlg) { dlg->reject(); });
    action(CHistoryDlg::kCmdAccountManager)->trigger();
    ASSERT_TRUE(answer.seen());
    EXPECT_EQ(control<QComboBox>(CHistoryDlg::kAccountCombo)->count(), 4);
}

// Exporting "Operacje wyświetlone na liście" writes exactly the filtered row, which is not the
// first of the window's operations.
TEST_F(CommandsTest, ExportWritesTheListedRows) {
    control<QLineEdit>(CHistoryDlg::kSearchEdit)->setText(QStringLiteral("Zakupy"));
    ASSERT_EQ(window().listedEntries().size(), 1u);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("lista.xml"));
    CWndFileDialog::setHandler([&](const CWndFileDialog::Request&) { return path; });
    NextModal<QDialog> answer([](QDialog* dlg) {
        DialogTemplate::find<QComboBox>(dlg, 1002)->setCurrentIndex(1);
        DialogTemplate::find<QPushButton>(dlg, 1037)->click();
        DialogTemplate::find<QPushButton>(dlg, 1)->click();
    });
    action(CHistoryDlg::kCmdExport)->trigger();
    CWndFileDialog::setHandler({});
    ASSERT_TRUE(answer.seen());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(xml.contains(QStringLiteral("Zakupy spożywcze"))) << xml.toStdString();
    EXPECT_FALSE(xml.contains(QStringLiteral("Wynagrodzenie")));
}

// Commands that read the database show its error and leave the window working.
TEST_F(CommandsTest, DatabaseErrorsInCommandsAreShownNotFatal) {
    window().connection().execute("DROP TABLE accounts");
    action(CHistoryDlg::kCmdDownload)->trigger();
    EXPECT_TRUE(m_harness.boxes().lastText().startsWith(QStringLiteral("Błąd bazy danych")))
        << m_harness.boxes().lastText().toStdString();

    m_harness.boxes().clear();
    AppSettings::SetInt(u"AutoDownload", 1);
    Clock::pin(LocalTime(2012, 3, 15, 12, 30));
    window().OnScheduleTimer();
    EXPECT_TRUE(m_harness.boxes().lastText().startsWith(QStringLiteral("Błąd bazy danych")));
    EXPECT_FALSE(window().downloadRunning());

    window().connection().execute("DROP TABLE transactions");
    m_harness.boxes().clear();
    m_harness.boxes().queueAnswer(MessageBox::Answer::Yes);
    action(CHistoryDlg::kCmdClearList)->trigger();
    const auto calls = m_harness.boxes().calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_TRUE(calls[1].text.startsWith(QStringLiteral("Błąd bazy danych")));
    action(CHistoryDlg::kCmdReloadList)->trigger();
    EXPECT_EQ(window().listModel()->rowCount(), 0);
    EXPECT_TRUE(window().isEnabled());
}

TEST_F(CommandsTest, CloseCommandEndsTheWindow) {
    bool finished = false;
    QObject::connect(&window(), &QDialog::finished, [&] { finished = true; });
    action(CHistoryDlg::kCmdClose)->trigger();
    EXPECT_TRUE(finished);
}

}  // namespace
