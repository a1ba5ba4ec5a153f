#include <gtest/gtest.h>

#include "CWndExport.h"
#include "CWndFileDialog.h"
#include "CsvExportWriter.h"
#include "DialogTestSupport.h"
#include "ExportReaders.h"
#include "MessageBox.h"
#include "XmlExportWriter.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int kFileName = 1036, kBrowse = 1037, kFormat = 1038, kRange = 1002;
constexpr int64_t kNov5 = 1320490800;  // noon, Warsaw, 05-11-2011

// tid, own account and its name, counterparty account, operation and booking dates,
// counterparty, direction, kind, title, amount.
std::vector<StoredOperation> sampleOperations() {
    return {
        {101, u"04000000000000000000000000", u"Konto", u"73111111111111111111111111", kNov5,
         kNov5 + 86400, u"Żabka & <Spółka>", 0, 4, u"\u201EFaktura\u201D 'nr' \"1\"", -12.5},
        {102, u"04000000000000000000000000", u"Konto", u"", kNov5, kNov5, u"", 1, 0, u"", 0.0},
        {103, u"73111111111111111111111111", u"Konto", u"71987654321098765432109876", kNov5, kNov5,
         u"Jan", 1, 2, u"Przelew", 1500.75},
    };
}

class ExportWindow : public ::testing::Test {
protected:
    void SetUp() override {
        CWndFileDialog::setHandler([this](const CWndFileDialog::Request& request) {
            lastRequest = request;
            return answer;
        });
    }
    void TearDown() override { CWndFileDialog::setHandler({}); }

    void open(std::vector<StoredOperation> ops, std::vector<int> listed = {}) {
        window = std::make_unique<CWndExport>();
        window->setOperations(std::move(ops), std::move(listed));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void press(int id) {
        QTest::mouseClick(control<QPushButton>(window.get(), id), Qt::LeftButton);
    }
    QByteArray fileBytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }
    static bool parses(const QString& path) {
        return QProcess::execute(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path}) == 0;
    }
    QString path(const char* name) const { return dir.path() + "/" + name; }

    QTemporaryDir dir;
    ScopedMessageBoxHandler boxes;
    std::optional<QString> answer;
    CWndFileDialog::Request lastRequest;
    std::unique_ptr<CWndExport> window;
};

}  // namespace

TEST_F(ExportWindow, OpensEmptyWithFirstItems) {
    open(sampleOperations());
    EXPECT_EQ(control<QLineEdit>(window.get(), kFileName)->text(), "");
    EXPECT_TRUE(control<QLineEdit>(window.get(), kFileName)->isReadOnly());
    EXPECT_EQ(control<QComboBox>(window.get(), kFormat)->currentText(), "XML");
    auto* range = control<QComboBox>(window.get(), kRange);
    EXPECT_EQ(range->currentText(), "Całość");
    EXPECT_EQ(range->itemText(1), "Operacje wyświetlone na liście");
}

TEST_F(ExportWindow, WholeCollectionIsWrittenAndParses) {
    const auto ops = sampleOperations();
    open(ops, {2});
    answer = path("wynik.xml");
    press(kBrowse);
    EXPECT_EQ(lastRequest.defaultSuffix, "xml");
    EXPECT_EQ(control<QLineEdit>(window.get(), kFileName)->text(), *answer);
    press(1);
    const QByteArray bytes = fileBytes(*answer);
    EXPECT_EQ(bytes.toStdString(), XmlExportWriter::Document(ops));
    EXPECT_TRUE(bytes.contains("<amount>-12,50</amount>"));
    EXPECT_TRUE(bytes.contains("<amount>0,00</amount>"));
    EXPECT_TRUE(
        bytes.contains("\xC5\xBB"
                       "abka &amp; &lt;Sp\xC3\xB3\xC5\x82ka&gt;"));
    EXPECT_TRUE(
        bytes.contains("\xE2\x80\x9E"
                       "Faktura\xE2\x80\x9D &apos;nr&apos; &quot;1&quot;"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(parses(*answer));
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text, "Eksport ukończony.");
    EXPECT_EQ(boxes.calls()[0].caption, "Eksport");
    EXPECT_EQ(boxes.calls()[0].icon, MessageBox::Icon::Information);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ExportWindow, ListedRangeWritesVisibleRowsInListOrder) {
    const auto ops = sampleOperations();
    open(ops, {2, 0});
    answer = path("lista.xml");
    press(kBrowse);
    control<QComboBox>(window.get(), kRange)->setCurrentIndex(1);
    press(1);
    EXPECT_EQ(fileBytes(*answer).toStdString(), XmlExportWriter::Document({ops[2], ops[0]}));
}

TEST_F(ExportWindow, EmptyExportHoldsOpeningLineAndClosingText) {
    open({});
    answer = path("pusty.xml");
    press(kBrowse);
    press(1);
    EXPECT_EQ(fileBytes(*answer), QByteArray("<operations>\r\n</operations>"));
    EXPECT_TRUE(parses(*answer));
}

TEST_F(ExportWindow, ExistingFileIsTruncated) {
    answer = path("stary.xml");
    {
        QFile old(*answer);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(10000, 'x'));
    }
    open({});
    press(kBrowse);
    press(1);
    EXPECT_EQ(fileBytes(*answer), QByteArray("<operations>\r\n</operations>"));
}

TEST_F(ExportWindow, CancelledBrowseKeepsTheName) {
    open({});
    answer = path("pierwszy.xml");
    press(kBrowse);
    answer.reset();
    press(kBrowse);
    EXPECT_EQ(control<QLineEdit>(window.get(), kFileName)->text(), path("pierwszy.xml"));
}

struct BadNameCase {
    const char* name;  // null: no file chosen
    const char* message;
};
class ExportBadName : public ExportWindow, public ::testing::WithParamInterface<BadNameCase> {};

TEST_P(ExportBadName, ReportsAndClosesWithoutWriting) {
    open(sampleOperations());
    if (GetParam().name != nullptr) {
        answer = QString::fromUtf8(GetParam().name).replace("DIR", dir.path());
        press(kBrowse);
    }
    press(1);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text, GetParam().message);
    EXPECT_EQ(boxes.calls()[0].caption, "Eksport");
    EXPECT_EQ(boxes.calls()[0].icon, MessageBox::Icon::Warning);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Names, ExportBadName,
                         ::testing::Values(BadNameCase{nullptr, "Nieprawidłowa nazwa pliku!"},
                                           BadNameCase{"a.xm", "Nieprawidłowa nazwa pliku!"},
                                           BadNameCase{"DIR/brak/plik.xml",
                                                       "Nie można było otworzyć pliku!"}));

TEST_F(ExportWindow, AnyStoredTextGivesWellFormedXml) {
    StoredOperation hostile;
    hostile.tid = -2147483647 - 1;
    hostile.ownAccount = u"a'b\"<c>&";
    hostile.counterpartyAccount = u"]]><!--";
    hostile.counterpartyName = std::u16string(u"\u0001\u0008\u000B\u001F") + char16_t(0xDC00);
    hostile.title = std::u16string(1, char16_t(0xD83D)) + u"&#x1; \uFFFE\uFFFF";
    hostile.amount = -1e300;
    hostile.operationDate = -4000000000LL;
    hostile.bookingDate = 253402300799LL;
    open({hostile});
    answer = path("wrogi.xml");
    press(kBrowse);
    press(1);
    EXPECT_TRUE(parses(*answer)) << fileBytes(*answer).toStdString();
}

TEST_F(ExportWindow, FormatsFollowInTheSaveDialogAndTheName) {
    open(sampleOperations());
    auto* format = control<QComboBox>(window.get(), kFormat);
    ASSERT_EQ(format->count(), 3);
    EXPECT_EQ(format->itemText(1) + format->itemText(2), "OFXCSV");
    format->setCurrentIndex(2);
    answer = path("bez_rozszerzenia");
    press(kBrowse);
    EXPECT_EQ(lastRequest.filter + lastRequest.defaultSuffix, "CSV (*.csv)csv");
    press(1);
    EXPECT_EQ(fileBytes(path("bez_rozszerzenia.csv")).toStdString(),
              CsvExportWriter::Document(sampleOperations()));
}

TEST_F(ExportWindow, OfxWritesOneReadableFilePerAccountAndNamesThem) {
    open(sampleOperations());
    control<QComboBox>(window.get(), kFormat)->setCurrentIndex(1);
    answer = path("wyciag.ofx");
    press(kBrowse);
    press(1);
    const QStringList written = {path("wyciag-0000.ofx"), path("wyciag-1111.ofx")};
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text,
              "Eksport ukończony.\n\nZapisane pliki:\n" + written.join("\n"));
    for (const size_t count : {2u, 1u}) {
        const OfxDump dump = RunOfxDump(written[2 - int(count)].toStdString());
        EXPECT_TRUE(dump.problems.empty() && dump.transactions.size() == count);
    }
}
