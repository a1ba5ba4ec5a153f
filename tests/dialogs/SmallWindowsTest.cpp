#include <gtest/gtest.h>

#include "CAboutDlg.h"
#include "CBanner.h"
#include "CWndDetails.h"
#include "CWndNRBCalc.h"
#include "CWndOptions.h"
#include "DialogTestSupport.h"
#include "DialogUnits.h"
#include "MessageBox.h"
#include "SettingsStore.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

void press(QWidget* window, int id) {
    QTest::mouseClick(control<QPushButton>(window, id), Qt::LeftButton);
}

}  // namespace

// --- Details -----------------------------------------------------------------------------

struct GroupingCase {
    const char* stored;
    const char* shown;
};
class DetailsGrouping : public ::testing::TestWithParam<GroupingCase> {};

TEST_P(DetailsGrouping, BothAccountNumbersAreGroupedForReading) {
    CWndDetails::Data data;
    data.counterpartyAccount = GetParam().stored;
    data.ownAccount = GetParam().stored;
    CWndDetails window(data);
    EXPECT_EQ(control<QLineEdit>(&window, 1028)->text(), GetParam().shown);
    EXPECT_EQ(control<QLineEdit>(&window, 1032)->text(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, DetailsGrouping,
    ::testing::Values(
        GroupingCase{"04000000000000000000000000", "04 0000 0000 0000 0000 0000 0000"},
        GroupingCase{"71987654321098765432109876", "71 9876 5432 1098 7654 3210 9876"},
        GroupingCase{"7198765432109876543210987612", "71 9876 5432 1098 7654 3210 9876"},
        GroupingCase{"0400000000000000000000000", "0400000000000000000000000"},
        GroupingCase{"", ""}));

struct AmountCase {
    double amount;
    const char* shown;
};
class DetailsAmount : public ::testing::TestWithParam<AmountCase> {};

TEST_P(DetailsAmount, WrittenWithDecimalCommaAndCurrency) {
    CWndDetails::Data data;
    data.amount = GetParam().amount;
    CWndDetails window(data);
    EXPECT_EQ(control<QLineEdit>(&window, 1033)->text(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Amounts, DetailsAmount,
                         ::testing::Values(AmountCase{-12.5, "-12,50 PLN"},
                                           AmountCase{0, "0,00 PLN"},
                                           AmountCase{1234567.891, "1234567,89 PLN"}));

TEST(Details, ShowsTheOperationInReadOnlyFields) {
    const QString longTitle = QString("Bardzo długi tytuł ").repeated(20);
    StoredOperation entry;
    entry.counterpartyAccount = u"73111111111111111111111111";
    entry.counterpartyName = u"Sklep";
    entry.title = longTitle.toStdU16String();
    entry.ownAccount = u"04000000000000000000000000";
    entry.operationDate = 1320490800;  // 05-11-2011, noon in Warsaw
    entry.bookingDate = 1325374200;    // 23:30 UTC on 31-12-2011 is 01-01-2012 here
    entry.amount = 10;
    CWndDetails window(CWndDetails::FromEntry(entry));
    EXPECT_EQ(window.windowTitle(), "Szczegóły operacji");
    EXPECT_EQ(window.headerTitle(), "Szczegóły operacji");
    EXPECT_EQ(control<QPlainTextEdit>(&window, 1027)->toPlainText(), "Sklep");
    EXPECT_EQ(control<QPlainTextEdit>(&window, 1031)->toPlainText(), longTitle);
    EXPECT_EQ(control<QLineEdit>(&window, 1029)->text(), "05-11-2011");
    EXPECT_EQ(control<QLineEdit>(&window, 1030)->text(), "01-01-2012");
    for (QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
    }
    for (QPlainTextEdit* edit : window.findChildren<QPlainTextEdit*>()) {
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* title = control<QPlainTextEdit>(&window, 1031);
    QTest::keyClicks(title, "xyz");
    EXPECT_EQ(title->toPlainText(), longTitle);
    EXPECT_FALSE(control<QPushButton>(&window, 1069)->isEnabled());
    press(&window, 1);
    EXPECT_FALSE(window.isVisible());
}

// --- Account number check ----------------------------------------------------------------

struct NrbCase {
    const char* typed;
    const char* result;
};
class NrbCalc : public ::testing::TestWithParam<NrbCase> {};

TEST_P(NrbCalc, ResultFollowsEveryKeystroke) {
    CWndNRBCalc window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClicks(control<QLineEdit>(&window, 1059), GetParam().typed);
    EXPECT_EQ(control<QLabel>(&window, 1061)->text(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, NrbCalc,
    ::testing::Values(NrbCase{"04000000000000000000000000", "Numer rachunku jest poprawny."},
                      NrbCase{"05000000000000000000000000", "Błędna suma kontrolna (04 vs. 05)."},
                      NrbCase{"00111111111111111111111111", "Błędna suma kontrolna (73 vs. 00)."},
                      NrbCase{"0400000000000000000000000", "Błędna ilość cyfr, powinno być 26."},
                      NrbCase{"040000000000000000000000000", "Błędna ilość cyfr, powinno być 26."},
                      // Letters are not taken from the keyboard.
                      NrbCase{"PL04000000000000000000000000", "Numer rachunku jest poprawny."}));

// A title bar as narrow as the template cuts the long caption off.
TEST(NrbCalcWindow, IsWideEnoughForItsCaption) {
    CWndNRBCalc window;
    QFont font = QApplication::font();
    font.setBold(true);
    EXPECT_GT(window.width(), QFontMetrics(font).horizontalAdvance(window.windowTitle()) + 100);
}

TEST(NrbCalcWindow, StartsWaitingAndKeepsPastedSeparators) {
    CWndNRBCalc window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* result = control<QLabel>(&window, 1061);
    EXPECT_EQ(result->text(), "Oczekiwanie na dane ...");
    press(&window, 1060);
    EXPECT_EQ(result->text(), "Błędna ilość cyfr, powinno być 26.");
    auto* edit = control<QLineEdit>(&window, 1059);
    QApplication::clipboard()->setText("04 0000 0000-0000 0000 0000-0000");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "04 0000 0000-0000 0000 0000-0000");
    EXPECT_EQ(result->text(), "Numer rachunku jest poprawny.");
}

// --- Options -----------------------------------------------------------------------------

class Options : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SettingsStore settings{(dir.path() + "/TavroHistory.config").toStdString()};
};

TEST_F(Options, FirstRunUncheckedAndOkStoresInOrder) {
    CWndOptions window(settings);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int id : {1076, 1077, 1078}) {
        EXPECT_FALSE(control<QCheckBox>(&window, id)->isChecked()) << id;
    }
    QTest::mouseClick(control<QCheckBox>(&window, 1078), Qt::LeftButton);
    press(&window, 1);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const auto entries = settings.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].key, u"HideOnMinimize");
    EXPECT_EQ(entries[1].key, u"AutoDownload");
    EXPECT_EQ(entries[2].key, u"UseTondle");
    EXPECT_EQ(settings.GetInt(u"HideOnMinimize", -1), 0);
    EXPECT_EQ(settings.GetInt(u"UseTondle", -1), 1);
}

TEST_F(Options, CancelKeepsStoredValues) {
    settings.SetInt(u"AutoDownload", 1);
    {
        CWndOptions window(settings);
        window.show();
        auto* autoDownload = control<QCheckBox>(&window, 1077);
        EXPECT_TRUE(autoDownload->isChecked());
        QTest::mouseClick(autoDownload, Qt::LeftButton);
        QTest::mouseClick(control<QCheckBox>(&window, 1076), Qt::LeftButton);
        press(&window, 2);
    }
    EXPECT_EQ(settings.GetInt(u"AutoDownload", -1), 1);
    EXPECT_EQ(settings.GetInt(u"HideOnMinimize", -1), -1);
    CWndOptions again(settings);
    EXPECT_TRUE(control<QCheckBox>(&again, 1077)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(&again, 1076)->isChecked());
}

// --- About box ---------------------------------------------------------------------------

TEST(About, ShowsConvertedTextAndOpensHomePage) {
    std::vector<QUrl> opened;
    CAboutDlg::setUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    ScopedMessageBoxHandler boxes;
    CAboutDlg window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(boxes.calls().empty());
    const QString text = control<QPlainTextEdit>(&window, 1033)->toPlainText();
    EXPECT_TRUE(text.startsWith("Część ikon")) << text.toStdString();
    EXPECT_TRUE(text.contains("bezpłatny"));
    EXPECT_TRUE(control<QPlainTextEdit>(&window, 1033)->isReadOnly());
    press(&window, 1042);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], CAboutDlg::HomePage());
    EXPECT_TRUE(window.isVisible());
    press(&window, 1);
    EXPECT_FALSE(window.isVisible());
    CAboutDlg::setUrlOpener({});
}

// The banner draws its notice on one line from x 48: the line must hold it whole.
TEST(About, BannerNoticeFitsItsLine) {
    CAboutDlg window;
    const auto* banner = window.findChild<CBanner*>();
    ASSERT_NE(banner, nullptr);
    const QFontMetrics metrics(DialogUnits::windowFont(QStringLiteral("Verdana"), 8));
    EXPECT_LT(metrics.horizontalAdvance(banner->notice()), banner->width() - 48);
}

TEST(About, ResourceIsWindows1250) {
    const std::string_view bytes = CAboutDlg::AboutTextResource();
    // "ę" is one byte 0xEA in Windows-1250, never the UTF-8 pair.
    EXPECT_NE(bytes.find('\xEA'), std::string_view::npos);
    EXPECT_EQ(bytes.find("\xC4\x99"), std::string_view::npos);
    EXPECT_EQ(CAboutDlg::FromWindows1250("\x9C\xB9\xBF"), QString("śąż"));
}
