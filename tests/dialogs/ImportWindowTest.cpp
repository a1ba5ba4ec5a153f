// SPDX-License-Identifier: GPL-3.0-or-later
// The import window over real statement files and a real database file, and the undo list.
#include <gtest/gtest.h>

#include "CImportPreviewModel.h"
#include "CWndCsvProfile.h"
#include "CWndImport.h"
#include "CWndImportPage.h"
#include "CWndImportUndo.h"
#include "CsvProfiles.h"
#include "CsvReader.h"
#include "DialogTestSupport.h"
#include "ImportSet.h"
#include "MessageBox.h"
#include "NextModal.h"
#include "StatementReader.h"
#include "StatementSamples.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

namespace {

using Page = CWndImportPage;
using Model = CImportPreviewModel;
const std::string kAccount = StatementSamples::Nrb("109010140000071219812874");

// Money out on days of March 2024: "DD amount title"; balances when a closing one is given.
std::string mt940(const std::vector<std::string>& ops, const std::string& closing = "") {
    std::string text = ":20:K\n:25:" + kAccount + "\n";
    text += closing.empty() ? "" : ":60F:C240301PLN100,00\n";
    for (const std::string& op : ops) {
        const size_t space = op.find(' ', 3);
        text += ":61:2403" + op.substr(0, 2) + "D" + op.substr(3, space - 3) +
                "NMSCNONREF\n:86:~20" + op.substr(space + 1) + "\n";
    }
    return text + (closing.empty() ? "" : ":62F:C240331PLN" + closing + "\n") + "-\n";
}

class ImportWindow : public ::testing::Test {
protected:
    QString write(const char* name, const std::string& bytes) {
        const QString path = db.folder() + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return path;
    }
    CWndImport& open(const QStringList& paths) {
        window = std::make_unique<CWndImport>(db.con, profilesFile());
        EXPECT_EQ(window->addFiles(paths), paths.size());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }
    std::filesystem::path profilesFile() const {
        return (db.folder() + "/CsvProfiles.json").toStdString();
    }
    QAbstractItemModel* table(int tab) const {
        return control<QTableView>(window->page(tab), Page::kTable)->model();
    }
    QString cell(int tab, int row, int column) const {
        return table(tab)->index(row, column).data().toString();
    }
    bool ticked(int tab, int row) const {
        return table(tab)->index(row, Model::kTick).data(Qt::CheckStateRole) == Qt::Checked;
    }
    void tick(int tab, int row, bool on) const {
        table(tab)->setData(table(tab)->index(row, Model::kTick), on ? Qt::Checked : Qt::Unchecked,
                            Qt::CheckStateRole);
    }
    void press(QWidget* window, int id) {
        QTest::mouseClick(control<QPushButton>(window, id), Qt::LeftButton);
    }
    std::string titles() {
        sqlite3x::command select(db.con,
                                 "SELECT group_concat(t_desc, ',') FROM (SELECT * FROM "
                                 "transactions ORDER BY t_id)");
        sqlite3x::reader r = select.execute_reader();
        return r.read() ? qs(r.get_string(0)).toStdString() : "";
    }
    void importNow(const std::string& bytes, int64_t time) {
        ImportFile one{StatementReader::Read(bytes), {}, std::nullopt};
        one.request.fileName = QString::number(time).toStdU16String() + u".sta";
        one.request.sha256 = StatementImport::Sha256Hex(bytes);
        one.request.time = time;
        ImportSet::Run(db.con, {one});
    }

    TestDatabase db;
    ScopedMessageBoxHandler boxes;
    std::unique_ptr<CWndImport> window;
};

TEST_F(ImportWindow, TheCodePageListRereadsAndEscapeStoresNothing) {
    const QString title = QStringLiteral("Zażółć gęślą jaźń");
    open({write("1250.sta",
                StatementSamples::Encoded(mt940({"01 9,50 " + title.toStdString()}), "CP1250"))});
    auto* codePage = control<QComboBox>(window->page(0), Page::kCodePage);
    EXPECT_EQ(codePage->currentText(), "Windows-1250");
    EXPECT_EQ(cell(0, 0, Model::kTitle), title);
    EXPECT_EQ(cell(0, 0, Model::kState), "nowa");
    codePage->setCurrentText(QStringLiteral("CP852"));
    EXPECT_NE(cell(0, 0, Model::kTitle), title);
    EXPECT_EQ(cell(0, 0, Model::kAmount), "-9,50");
    codePage->setCurrentText(QStringLiteral("Windows-1250"));
    EXPECT_EQ(cell(0, 0, Model::kTitle), title);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(titles(), "");
}

TEST_F(ImportWindow, TicksOfEveryTabAreStoredTogether) {
    importNow(mt940({"01 9,50 Kawa"}), 1000);
    open({write("a.sta", mt940({"01 9,50 Kawa", "02 4,00 Bilet", "03 30,00 Obiad"})),
          write("b.sta", mt940({"05 3,00 Chleb"}))});
    ASSERT_EQ(window->pageCount(), 2);
    EXPECT_EQ(cell(0, 0, Model::kState), "już zapisana");
    EXPECT_EQ(std::vector<bool>({ticked(0, 0), ticked(0, 1), ticked(0, 2)}),
              std::vector<bool>({false, true, true}));
    tick(0, 2, false);
    EXPECT_TRUE(control<QLabel>(window->page(0), Page::kCounts)
                    ->text()
                    .endsWith("Zaznaczone do importu: 1."));
    press(window.get(), CWndImport::kImport);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(titles(), "Kawa,Bilet,Chleb");
    ASSERT_EQ(window->summaries().size(), 2u);
    EXPECT_EQ(window->summaries()[0].accounts.at(0).skipped, 1);

    open({write("b.sta", mt940({"05 3,00 Chleb"}))});
    EXPECT_TRUE(control<QLabel>(window->page(0), Page::kImportedBefore)
                    ->text()
                    .startsWith("Ten plik zaimportowano już"));
}

TEST_F(ImportWindow, ADisagreeingBalanceNeedsItsTick) {
    open({write("saldo.sta", mt940({"01 9,50 Kawa"}, "1,00"))});
    auto* balance = control<QLabel>(window->page(0), Page::kBalance);
    auto* anyway = control<QCheckBox>(window->page(0), Page::kIgnoreBalance);
    EXPECT_TRUE(balance->styleSheet().contains("#c00000"));
    EXPECT_TRUE(anyway->isEnabled());
    press(window.get(), CWndImport::kImport);
    EXPECT_TRUE(boxes.lastText().contains("Importuj mimo niezgodności salda"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(titles(), "");
    anyway->setChecked(true);
    press(window.get(), CWndImport::kImport);
    EXPECT_EQ(titles(), "Kawa");

    open({write("dobre.sta", mt940({"01 9,50 Kawa"}, "90,50"))});
    EXPECT_FALSE(control<QCheckBox>(window->page(0), Page::kIgnoreBalance)->isEnabled());
}

TEST_F(ImportWindow, AFileWithoutItsAccountTakesTheTypedOne) {
    // A bank's own number of the account, not an NRB.
    std::string noAccount = mt940({"01 9,50 Kawa"});
    noAccount.replace(noAccount.find(kAccount), kAccount.size(), "12345");
    open({write("bez.sta", noAccount)});
    auto* typed = control<QLineEdit>(window->page(0), Page::kAccountInput);
    ASSERT_TRUE(typed->isVisible());
    EXPECT_TRUE(control<QLabel>(window->page(0), Page::kBalance)->text().contains("polu Rachunek"));
    EXPECT_EQ(table(0)->rowCount(), 0);
    QTest::keyClicks(typed, "1234");
    EXPECT_TRUE(control<QLabel>(window->page(0), Page::kBalance)->text().contains("NRB"));
    press(window.get(), CWndImport::kImport);
    EXPECT_EQ(titles(), "") << "nothing is stored without the account";
    typed->setText(QString::fromStdString(kAccount));
    EXPECT_EQ(cell(0, 0, Model::kState), "nowa");
    press(window.get(), CWndImport::kImport);
    EXPECT_EQ(titles(), "Kawa");
    ASSERT_EQ(window->summaries().size(), 1u);
    EXPECT_EQ(window->summaries()[0].accounts.at(0).account,
              QString::fromStdString(kAccount).toStdU16String());
}

// A file of a megabyte and more is read and compared with the history off the window's thread:
// every operation still reaches the table, and a fault still names the file.
TEST_F(ImportWindow, ALargeFileIsReadBesideAProgressWindow) {
    std::vector<std::string> ops;
    for (int i = 0; i < 8000; ++i) {
        ops.push_back("0" + std::to_string(1 + i % 9) + " " + std::to_string(1 + i) +
                      ",00 Zakupy w sklepie numer " + std::to_string(i) + std::string(70, '.'));
    }
    const std::string bytes = mt940(ops);
    ASSERT_GE(bytes.size(), size_t(1) << 20);
    open({write("duzy.sta", bytes)});
    EXPECT_EQ(table(0)->rowCount(), 8000);
    EXPECT_TRUE(cell(0, 7999, Model::kTitle).startsWith("Zakupy w sklepie numer 7999."));
    EXPECT_TRUE(control<QLabel>(window->page(0), Page::kCounts)
                    ->text()
                    .endsWith("Zaznaczone do importu: 8000."));
    EXPECT_EQ(window->addFiles({write("urwany.sta", bytes.substr(0, bytes.size() - 8))}), 1);
    EXPECT_TRUE(boxes.lastText().contains("urwany.sta: Wiersz")) << boxes.lastText().toStdString();
}

TEST_F(ImportWindow, FilesThatCannotBeReadAreNamedAndGetNoTab) {
    window = std::make_unique<CWndImport>(db.con, profilesFile());
    EXPECT_EQ(window->addFiles({write("list.txt", "Drogi Janie,\n"), db.folder() + "/brak.sta"}),
              0);
    EXPECT_TRUE(boxes.lastText().contains("list.txt: Nieznany format pliku"));
    EXPECT_TRUE(boxes.lastText().contains("brak.sta: Nie można otworzyć pliku"));
}

TEST_F(ImportWindow, UndoListsNewestFirstAndTakesBackAnOlderImport) {
    importNow(mt940({"01 9,50 Kawa", "02 4,00 Bilet"}), 1000);
    importNow(mt940({"05 3,00 Chleb"}), 2000);
    CWndImportUndo undo(db.con);
    undo.show();
    ASSERT_EQ(undo.list()->model()->rowCount(), 2);
    EXPECT_EQ(undo.list()->model()->index(0, CWndImportUndo::kFile).data().toString(), "2000.sta");
    undo.list()->selectRow(1);
    boxes.queueAnswer(MessageBox::Answer::No);
    press(&undo, CWndImportUndo::kUndo);
    EXPECT_EQ(titles(), "Kawa,Bilet,Chleb");
    boxes.queueAnswer(MessageBox::Answer::Yes);
    press(&undo, CWndImportUndo::kUndo);
    EXPECT_EQ(titles(), "Chleb");
    EXPECT_EQ(undo.list()->model()->rowCount(), 1);
    EXPECT_TRUE(undo.changed());
}

// A bank's CSV whose header line a shipped profile knows is read with it at once; another profile
// that does not fit says why, and the first comes back.
TEST_F(ImportWindow, ABankCsvIsReadWithTheProfileOfItsHeader) {
    const std::string own = StatementSamples::Nrb("114020040000350212345678");
    open({write("historia.csv",
                "Numer rachunku/karty,Data transakcji,Data rozliczenia,Rodzaj transakcji,"
                "Na konto/Z konta,Odbiorca/Zleceniodawca,Opis,Obciążenia,Uznania,Saldo,Waluta\n" +
                    own + ",2024-03-01,2024-03-02,Przelew,,Jan Nowak,Czynsz,-1200.00,,0,PLN\n" +
                    own + ",2024-03-03,2024-03-03,Wpływ,,Anna Kowalska,Zwrot,,35.10,0,PLN\n")});
    Page* page = window->page(0);
    auto* profile = control<QComboBox>(page, Page::kProfile);
    EXPECT_TRUE(page->isBankCsv());
    EXPECT_EQ(profile->currentText(),
              "Obciążenia i uznania w osobnych kolumnach (sprawdź z plikiem z banku)");
    EXPECT_FALSE(control<QPushButton>(page, Page::kDeleteProfile)->isEnabled());
    EXPECT_EQ(control<QLabel>(page, Page::kFormat)->text(), "CSV banku");
    ASSERT_EQ(table(0)->rowCount(), 2);
    EXPECT_EQ(cell(0, 0, Model::kAmount), "-1200,00");
    EXPECT_EQ(cell(0, 1, Model::kCounterparty), "Anna Kowalska");
    EXPECT_EQ(cell(0, 1, Model::kState), "nowa");
    page->chooseProfile(QStringLiteral("PKO BP"));
    EXPECT_TRUE(page->problem().contains("PKO BP")) << page->problem().toStdString();
    EXPECT_EQ(table(0)->rowCount(), 0);
    page->chooseProfile(QStringLiteral("Obciążenia i uznania w osobnych kolumnach"));
    EXPECT_EQ(page->problem(), "");
    press(window.get(), CWndImport::kImport);
    EXPECT_EQ(titles(), "Czynsz,Zwrot");
}

// A layout no profile knows: a profile is made in the window over the file (the previews follow
// every choice), stored in the profile file where the command line finds it by the header, then
// changed and deleted.
TEST_F(ImportWindow, AProfileMadeInTheWindowReadsTheFileAndIsStored) {
    const std::string own = StatementSamples::Nrb("114020040000350212345678");
    const std::string bytes = "Data;Kwota;Opis;Rachunek\n2024-03-01;-9,50;Kawa;'" + own +
                              "'\n2024-03-02;1 000,00;Pensja;'" + own + "'\n";
    open({write("moj.csv", bytes)});
    Page* page = window->page(0);
    EXPECT_TRUE(page->problem().contains("Żaden profil CSV nie zna nagłówka"));
    EXPECT_EQ(table(0)->rowCount(), 0);
    EXPECT_FALSE(control<QPushButton>(page, Page::kEditProfile)->isEnabled());

    QString firstPreview, withOtherDates;
    NextModal<CWndCsvProfile> make([&](CWndCsvProfile* dlg) {
        EXPECT_EQ(control<QLineEdit>(dlg, CWndCsvProfile::kHeader)->text(),
                  "Data;Kwota;Opis;Rachunek");
        ASSERT_EQ(dlg->columnCount(), 4);
        const CsvColumnRole roles[] = {CsvColumnRole::OperationDate, CsvColumnRole::Amount,
                                       CsvColumnRole::Title, CsvColumnRole::OwnAccount};
        for (int column = 0; column < 4; ++column) {
            dlg->roleBox(column)->setCurrentIndex(
                dlg->roleBox(column)->findData(int(roles[column])));
        }
        firstPreview = control<QLabel>(dlg, CWndCsvProfile::kResult)->text();
        control<QComboBox>(dlg, CWndCsvProfile::kDateFormat)->setCurrentText("dd.MM.yyyy");
        withOtherDates = control<QLabel>(dlg, CWndCsvProfile::kResult)->text();
        control<QComboBox>(dlg, CWndCsvProfile::kDateFormat)->setCurrentText("yyyy-MM-dd");
        QTest::mouseClick(control<QPushButton>(dlg, CWndCsvProfile::kSave), Qt::LeftButton);
        EXPECT_TRUE(boxes.lastText().contains("nazwy")) << boxes.lastText().toStdString();
        control<QLineEdit>(dlg, CWndCsvProfile::kName)->setText(QStringLiteral("Mój bank"));
        QTest::mouseClick(control<QPushButton>(dlg, CWndCsvProfile::kSave), Qt::LeftButton);
    });
    press(page, Page::kNewProfile);
    EXPECT_TRUE(make.seen());
    EXPECT_EQ(firstPreview, "Odczytane operacje: 2.");
    EXPECT_TRUE(withOtherDates.contains("2024-03-01")) << withOtherDates.toStdString();
    ASSERT_TRUE(page->profile());
    EXPECT_EQ(page->profile()->name, "Mój bank");
    EXPECT_EQ(page->problem(), "");
    ASSERT_EQ(table(0)->rowCount(), 2);
    EXPECT_EQ(cell(0, 1, Model::kAmount), "1000,00");
    const CsvProfiles saved(profilesFile());
    const CsvProfile* stored = saved.match(bytes);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->name, "Mój bank");

    NextModal<CWndCsvProfile> change([&](CWndCsvProfile* dlg) {
        control<QLineEdit>(dlg, CWndCsvProfile::kName)->setText(QStringLiteral("Bank A"));
        QTest::mouseClick(control<QPushButton>(dlg, CWndCsvProfile::kSave), Qt::LeftButton);
    });
    press(page, Page::kEditProfile);
    EXPECT_EQ(CsvProfiles(profilesFile()).names().front(), "Bank A");
    EXPECT_EQ(CsvProfiles(profilesFile()).userProfiles().size(), 1u);
    EXPECT_EQ(control<QComboBox>(page, Page::kProfile)->currentText(), "Bank A");

    boxes.queueAnswer(MessageBox::Answer::Yes);
    press(page, Page::kDeleteProfile);
    EXPECT_TRUE(CsvProfiles(profilesFile()).userProfiles().empty());
    EXPECT_FALSE(page->profile());
    EXPECT_EQ(table(0)->rowCount(), 0);
}

// Every choice of the profile window reaches the profile it saves: separators, code page, lines
// skipped, number formats, pending values and the labels of the lines around the table.
TEST_F(ImportWindow, TheProfileWindowSavesEveryChoice) {
    const std::string bytes =
        "Wyciąg\n'Data'|'Kwota'|'Opis'|'Stan'\n01.03.2024|-1.234,50|Kawa|B\n"
        "02.03.2024|7,00|Zwrot|oczek.\nKoniec\n";
    CsvProfile saved;
    CWndCsvProfile dlg(CsvProfile{}, bytes, [&saved](const CsvProfile& p) {
        saved = p;
        return std::nullopt;
    });
    const auto choose = [&dlg](int id, const QString& text) {
        auto* box = control<QComboBox>(&dlg, id);
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
    };
    control<QLineEdit>(&dlg, CWndCsvProfile::kName)->setText(QStringLiteral("Kreski"));
    choose(CWndCsvProfile::kSeparator, QStringLiteral("pionowa kreska (|)"));
    choose(CWndCsvProfile::kQuote, QStringLiteral("apostrof (')"));
    choose(CWndCsvProfile::kCodePage, QStringLiteral("UTF-8"));
    dlg.findChild<QSpinBox*>(QString::number(CWndCsvProfile::kSkipStart))->setValue(1);
    dlg.findChild<QSpinBox*>(QString::number(CWndCsvProfile::kSkipEnd))->setValue(1);
    control<QCheckBox>(&dlg, CWndCsvProfile::kHasHeader)->setChecked(true);
    control<QComboBox>(&dlg, CWndCsvProfile::kDateFormat)->setCurrentText("dd.MM.yyyy");
    choose(CWndCsvProfile::kThousands, QStringLiteral("kropka (.)"));
    control<QLineEdit>(&dlg, CWndCsvProfile::kPendingValues)->setText(" oczek. , blokada");
    ASSERT_EQ(dlg.columnCount(), 4);
    const CsvColumnRole roles[] = {CsvColumnRole::OperationDate, CsvColumnRole::Amount,
                                   CsvColumnRole::Title, CsvColumnRole::Status};
    for (int column = 0; column < 4; ++column) {
        dlg.roleBox(column)->setCurrentIndex(dlg.roleBox(column)->findData(int(roles[column])));
    }
    EXPECT_EQ(control<QLabel>(&dlg, CWndCsvProfile::kResult)->text(), "Odczytane operacje: 2.");
    QTest::mouseClick(control<QPushButton>(&dlg, CWndCsvProfile::kSave), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(saved.separator, u'|');
    EXPECT_EQ(saved.quote, u'\'');
    EXPECT_EQ(saved.encoding, "UTF-8");
    EXPECT_EQ(std::pair(saved.skipStart, saved.skipEnd), std::pair(1, 1));
    EXPECT_EQ(saved.header, "Data|Kwota|Opis|Stan");
    EXPECT_EQ(saved.thousandsSeparator, u'.');
    EXPECT_EQ(saved.pendingValues, QStringList({"oczek.", "blokada"}));
    EXPECT_EQ(saved.columns, std::vector<CsvColumnRole>(std::begin(roles), std::end(roles)));
    EXPECT_FALSE(saved.fromPublicDescriptions);
    const StatementFile file = CsvReader::Read(bytes, saved);
    ASSERT_EQ(file.statements.size(), 1u);
    ASSERT_EQ(file.statements[0].operations.size(), 2u);
    EXPECT_EQ(file.statements[0].operations[0].amount, -123450);
    EXPECT_FALSE(file.statements[0].operations[1].booked);
}

// A shipped profile changed in the window is saved as the user's under its name and stands in
// for it; deleting the user's brings the shipped one back.
TEST_F(ImportWindow, AChangedShippedProfileStandsInUntilDeleted) {
    const std::string own = StatementSamples::Nrb("114020040000350212345678");
    open({write("historia.csv",
                "Numer rachunku/karty,Data transakcji,Data rozliczenia,Rodzaj transakcji,"
                "Na konto/Z konta,Odbiorca/Zleceniodawca,Opis,Obciążenia,Uznania,Saldo,Waluta\n" +
                    own + ",2024-03-01,2024-03-02,Przelew,,Jan Nowak,Czynsz,-1200.00,,0,PLN\n")});
    Page* page = window->page(0);
    const QString name = QStringLiteral("Obciążenia i uznania w osobnych kolumnach");
    NextModal<CWndCsvProfile> change([](CWndCsvProfile* dlg) {
        // The own account column is left out: the page then asks for the account.
        dlg->roleBox(0)->setCurrentIndex(dlg->roleBox(0)->findData(int(CsvColumnRole::None)));
        QTest::mouseClick(control<QPushButton>(dlg, CWndCsvProfile::kSave), Qt::LeftButton);
    });
    press(page, Page::kEditProfile);
    EXPECT_TRUE(change.seen());
    EXPECT_EQ(control<QComboBox>(page, Page::kProfile)->currentText(), name);
    EXPECT_TRUE(control<QPushButton>(page, Page::kDeleteProfile)->isEnabled());
    EXPECT_TRUE(page->problem().contains("wpisz go w polu Rachunek"))
        << page->problem().toStdString();
    boxes.queueAnswer(MessageBox::Answer::Yes);
    press(page, Page::kDeleteProfile);
    EXPECT_TRUE(boxes.lastText().contains("Wróci profil o tej nazwie"));
    EXPECT_TRUE(CsvProfiles(profilesFile()).userProfiles().empty());
    ASSERT_TRUE(page->profile());
    EXPECT_TRUE(page->profile()->fromPublicDescriptions);
    EXPECT_EQ(page->problem(), "");
}

}  // namespace
