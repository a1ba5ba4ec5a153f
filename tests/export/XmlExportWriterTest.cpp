#include <gtest/gtest.h>

#include "XmlExportWriter.h"

namespace {

// Noon, Warsaw time, of 05-11-2011 and 07-11-2011 (tests run with TZ=Europe/Warsaw).
constexpr int64_t kNov5 = 1320490800;
constexpr int64_t kNov7 = 1320663600;

StoredOperation debit() {
    StoredOperation op;
    op.tid = 1234;
    op.ownAccount = u"04000000000000000000000000";
    op.counterpartyAccount = u"73111111111111111111111111";
    op.operationDate = kNov5;
    op.bookingDate = kNov7;
    op.counterpartyName = u"A&B <\"Żółw\"> 'x'";
    op.direction = 0;
    op.kind = 7;
    op.title = u"\u201EZapłata\u201D &lt;";
    op.amount = -12.5;
    return op;
}

StoredOperation zeroCredit() {
    StoredOperation op;
    op.tid = -5;
    op.ownAccount = u"04000000000000000000000000";
    op.operationDate = kNov7;
    op.bookingDate = kNov7;
    op.direction = 1;
    op.amount = 0.0;
    return op;
}

}  // namespace

TEST(ExportWriter, KnownOperationsGiveExactBytes) {
    const std::string expected =
        "<operations>\r\n"
        "\t<operation id='1234' account='04000000000000000000000000'>\r\n"
        "\t\t<account>73111111111111111111111111</account>\r\n"
        "\t\t<date1>05-11-2011</date1>\r\n"
        "\t\t<date2>07-11-2011</date2>\r\n"
        "\t\t<name>A&amp;B &lt;&quot;\xC5\xBB\xC3\xB3\xC5\x82w&quot;&gt; &apos;x&apos;</name>\r\n"
        "\t\t<io>0</io>\r\n"
        "\t\t<class>7</class>\r\n"
        "\t\t<description>\xE2\x80\x9EZap\xC5\x82"
        "ata\xE2\x80\x9D &amp;lt;</description>\r\n"
        "\t\t<amount>-12,50</amount>\r\n"
        "\t</operation>\r\n"
        "\t<operation id='-5' account='04000000000000000000000000'>\r\n"
        "\t\t<account></account>\r\n"
        "\t\t<date1>07-11-2011</date1>\r\n"
        "\t\t<date2>07-11-2011</date2>\r\n"
        "\t\t<name></name>\r\n"
        "\t\t<io>1</io>\r\n"
        "\t\t<class>0</class>\r\n"
        "\t\t<description></description>\r\n"
        "\t\t<amount>0,00</amount>\r\n"
        "\t</operation>\r\n"
        "</operations>";
    EXPECT_EQ(XmlExportWriter::Document({debit(), zeroCredit()}), expected);
}

TEST(ExportWriter, EmptySetIsOpeningLineAndClosingText) {
    EXPECT_EQ(XmlExportWriter::Document({}), "<operations>\r\n</operations>");
}

TEST(ExportWriter, AccountFieldsAreEscapedToo) {
    StoredOperation op = zeroCredit();
    op.ownAccount = u"a'b";
    op.counterpartyAccount = u"<x>";
    const std::string doc = XmlExportWriter::Document({op});
    EXPECT_NE(doc.find("account='a&apos;b'"), std::string::npos);
    EXPECT_NE(doc.find("<account>&lt;x&gt;</account>"), std::string::npos);
}

struct AmountCase {
    double amount;
    const char* text;
};
class ExportAmount : public ::testing::TestWithParam<AmountCase> {};
TEST_P(ExportAmount, DecimalCommaTwoPlaces) {
    EXPECT_EQ(XmlExportWriter::FormatAmount(GetParam().amount), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Values, ExportAmount,
                         ::testing::Values(AmountCase{-12.5, "-12,50"}, AmountCase{0.0, "0,00"},
                                           AmountCase{999999.99, "999999,99"},
                                           AmountCase{1234567.005, "1234567,00"},
                                           AmountCase{0.005, "0,01"}, AmountCase{-0.001, "-0,00"}));

struct TextCase {
    std::u16string in;
    std::string out;
};
class ExportText : public ::testing::TestWithParam<TextCase> {};
TEST_P(ExportText, EscapedThenUtf8) {
    EXPECT_EQ(XmlExportWriter::ToUtf8(XmlExportWriter::Escape(GetParam().in)), GetParam().out);
}
INSTANTIATE_TEST_SUITE_P(
    Texts, ExportText,
    ::testing::Values(TextCase{u"&amp;", "&amp;amp;"}, TextCase{u"ąę", "\xC4\x85\xC4\x99"},
                      TextCase{u"\u201E", "\xE2\x80\x9E"},
                      // A pair of surrogates is one four-byte character.
                      TextCase{u"\U0001F600", "\xF0\x9F\x98\x80"},
                      // What XML cannot carry becomes U+FFFD instead of breaking the file.
                      TextCase{u"a\u0001b",
                               "a\xEF\xBF\xBD"
                               "b"},
                      TextCase{std::u16string(1, char16_t(0xD800)), "\xEF\xBF\xBD"},
                      // Tabs and line ends as references, so a reader gets them back unchanged.
                      TextCase{u"\t\r\n", "&#9;&#13;&#10;"}));

TEST(ExportWriter, DateIsLocalCalendarDay) {
    // 23:30 UTC on 31-12-2011 is already 01-01-2012 in Warsaw.
    EXPECT_EQ(XmlExportWriter::FormatDate(1325374200), "01-01-2012");
    EXPECT_EQ(XmlExportWriter::FormatDate(0), "01-01-1970");
}
