// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "HtmlScanner.h"
#include "ListWalkGuard.h"
#include "OperationDetails.h"
#include "OperationList.h"
#include "SamplePages.h"

namespace {
struct FormCase {
    const char* label;
    std::string page;
    std::vector<FormFields::Pair> expected;
};

class ReadFormTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(ReadFormTest, CollectsTheInputsOfTheNamedForm) {
    FormFields fields;
    ReadForm(fields, "MainForm", GetParam().page);
    EXPECT_EQ(fields.pairs(), GetParam().expected);
}

const std::vector<FormFields::Pair> kState = {{"__STATE", "abc"}};

INSTANTIATE_TEST_SUITE_P(
    Pages, ReadFormTest,
    ::testing::Values(
        FormCase{"SecondFormOnly",
                 "<p><form name=\"Other\"><input name=\"a\" value=\"1\"></form>"
                 "<form name=\"MainForm\"><input type=\"hidden\" name=\"__STATE\" value=\"abc\">"
                 "</form><form name=\"MainForm\"><input name=\"z\" value=\"9\"></form>",
                 kState},
        FormCase{"DoubleQuotes",
                 " <form name=\"MainForm\"><input type=\"hidden\" name=\"__STATE\" value=\"abc\" />"
                 "</form>",
                 kState},
        FormCase{"SingleQuotes",
                 " <FORM NAME='MainForm'><INPUT type='hidden' name='__STATE' value='abc' /></form>",
                 kState},
        FormCase{"NoQuotes",
                 " <form name=MainForm method=post><input type=hidden name=__STATE value=abc>"
                 "</form>",
                 kState},
        FormCase{"EntityForApostrophe",
                 " <form name=\"MainForm\"><input name=\"q\" value=\"&#039;\"></form>",
                 {{"q", "'"}}},
        FormCase{
            "NoFormEnd", " <form name=\"MainForm\"><input name=\"__STATE\" value=\"abc\">", {}},
        FormCase{"InputsWithoutName",
                 " <form name=\"MainForm\"><input type=\"submit\" value=\"OK\"><input disabled>"
                 "<input name=\"__STATE\" value=\"abc\"></form>",
                 kState},
        FormCase{"PageStartingWithForm",
                 "<form name=\"MainForm\"><input name=\"__STATE\" value=\"abc\"></form>",
                 {}},
        FormCase{"WrongCaseOfName",
                 " <form name=\"mainform\"><input name=\"a\" value=\"1\"></form>",
                 {}},
        FormCase{"SelectAndTextareaIgnored",
                 " <form name=\"MainForm\"><select name=\"s\"></select><textarea name=\"t\">"
                 "</textarea><input type=\"image\" name=\"img\"></form>",
                 {{"img", ""}}}),
    [](const auto& info) { return info.param.label; });

TEST(ReadForm, OverwritesExistingNamesAndKeepsOthers) {
    FormFields fields;
    SetField(fields, "keep", "1");
    SetField(fields, "__STATE", "old");
    ReadForm(fields, "MainForm", kSampleListPage);
    EXPECT_EQ(fields.pairs(),
              (std::vector<FormFields::Pair>{
                  {"keep", "1"}, {"__STATE", "ST-2"}, {"__EVENTVALIDATION", "EV-2"}}));
}

TEST(ReadOnclickArguments, SplitsTheCallAroundTheKey) {
    const std::string text =
        "<div><a href=\"#\" onclick=\"doSubmit('/a.aspx','','POST','p1',1)\">KEY</a> x, tail";
    std::vector<std::string> args{"old"};
    ASSERT_TRUE(ReadOnclickArguments(text, "KEY", args));
    ASSERT_EQ(args.size(), 5u);
    EXPECT_EQ(args[0], "/a.aspx");
    EXPECT_EQ(args[1], "");
    EXPECT_EQ(args[2], "POST");
    EXPECT_EQ(args[3], "p1");
    EXPECT_EQ(args[4], "1)\">KEY</a> x");
}

TEST(ReadOnclickArguments, LastArgumentNeedsALaterComma) {
    std::vector<std::string> args;
    ASSERT_TRUE(ReadOnclickArguments("<b onclick=\"go('a','b')\">K</b>", "K", args));
    EXPECT_EQ(args, (std::vector<std::string>{"a"}));
}

TEST(ReadOnclickArguments, FailsWithoutKeyOrTagAndLeavesTheList) {
    std::vector<std::string> args{"x"};
    EXPECT_FALSE(ReadOnclickArguments("<a onclick=\"f('a','b',)\">K</a>", "missing", args));
    EXPECT_FALSE(ReadOnclickArguments("<p onclick=\"f('a','b',)\">K</p>", "K", args));
    EXPECT_EQ(args, (std::vector<std::string>{"x"}));
}

TEST(ExtractBetween, CutsAndReportsTheEndMarker) {
    std::string out = "unchanged";
    EXPECT_EQ(ExtractBetween("a[x]b", "[", "]", out, 0), 3u);
    EXPECT_EQ(out, "x");
    out = "unchanged";
    EXPECT_EQ(ExtractBetween("a[x", "[", "]", out, 0), 0u);
    EXPECT_EQ(ExtractBetween("a]x[", "[", "]", out, 0), 0u);
    EXPECT_EQ(ExtractBetween("ab[", "ab[", "]", out, 0), 0u);
    EXPECT_EQ(out, "unchanged");
}

struct CollapseCase {
    const char* label;
    std::string in;
    std::string out;
};

class CollapseSpacesTest : public ::testing::TestWithParam<CollapseCase> {};

TEST_P(CollapseSpacesTest, Collapses) {
    std::string text = GetParam().in;
    CollapseSpaces(text);
    EXPECT_EQ(text, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Texts, CollapseSpacesTest,
                         ::testing::Values(CollapseCase{"ThreeSpaces", "a   b", "a b"},
                                           CollapseCase{"Tab", "a\tb", "a b"},
                                           CollapseCase{"SpaceNewlineSpace", "a \n b", "a  b"},
                                           CollapseCase{"HardSpacesTrimmed", "\xA0 x \xA0", "x"},
                                           CollapseCase{"Apostrophe", "O&#x27;Neil", "O'Neil"},
                                           CollapseCase{"OnlySpaces", "  \t ", ""}),
                         [](const auto& info) { return info.param.label; });

class ParseDayDateTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "Europe/Warsaw", 1);
        tzset();
    }
    static int64_t utc(int year, int month, int day, int hour) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        return static_cast<int64_t>(timegm(&t));
    }
};

TEST_F(ParseDayDateTest, NoonLocalTime) {
    EXPECT_EQ(ParseDayDate("05-03-2010"), utc(2010, 3, 5, 11));
    EXPECT_EQ(ParseDayDate("05-07-2010"), utc(2010, 7, 5, 10));
}

TEST_F(ParseDayDateTest, AcrossTheSpringChange) {
    EXPECT_EQ(ParseDayDate("29-03-2010") - ParseDayDate("27-03-2010"), 2 * 86400 - 3600);
}

TEST_F(ParseDayDateTest, OutOfRangeDayIsNormalised) {
    EXPECT_EQ(ParseDayDate("31-02-2010"), utc(2010, 3, 3, 11));
    EXPECT_EQ(ParseDayDate("31-02-2012"), utc(2012, 3, 2, 11));
}

TEST_F(ParseDayDateTest, BeyondJanuary2038) {
    EXPECT_EQ(ParseDayDate("01-06-2040"), utc(2040, 6, 1, 10));
}

TEST(Latin2ToCp1250, RepairsTheSixLetters) {
    std::string text = "\xA1\xA6\xAC\xB1\xB6\xBC \xB3\xEA\xBF";
    Latin2ToCp1250(text);
    EXPECT_EQ(text, "\xA5\x8C\x8F\xB9\x9C\x9F \xB3\xEA\xBF");
}

TEST(ReadOperationList, ReadsLinksSignsAndOlderPages) {
    std::vector<OperationLink> links;
    EXPECT_TRUE(ReadOperationList(kSampleListPage, links));
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].parameters, "P-101");
    EXPECT_EQ(links[0].sign, "-");
    EXPECT_EQ(links[0].path, "/account_oper_details.aspx");
    EXPECT_EQ(links[1].parameters, "P-102");
    EXPECT_EQ(links[1].sign, "");
    EXPECT_EQ(links[2].parameters, "P-103");
    EXPECT_EQ(ReadPrevPageParameters(kSampleListPage), "PAGE-2");
}

TEST(ReadOperationList, ItemWithTooFewArgumentsEndsThePage) {
    const std::string page =
        "<li><a onclick=\"f('/x')\" href=\"#\">\n 01-01-2010</a></li>"
        "<li><a onclick=\"doSubmit('/account_oper_details.aspx','','POST','P',1)\" "
        "href=\"#\">\n 02-01-2010</a>,</li>";
    std::vector<OperationLink> links;
    EXPECT_FALSE(ReadOperationList(page, links));
    EXPECT_TRUE(links.empty());
}

TEST(ReadOperationDetails, ReadsAndCleansTheFields) {
    std::string page = kSampleDetailsPage;
    ScrapedOperation operation;
    EXPECT_TRUE(ReadOperationDetails(page, operation, "-"));
    EXPECT_EQ(operation.operationDate, "05-03-2010");
    EXPECT_EQ(operation.postingDate, "06-03-2010");
    EXPECT_EQ(operation.number, "123456");
    EXPECT_EQ(operation.kindText,
              "PRZELEW WYCHODZ\xA5"
              "CY");
    EXPECT_EQ(operation.account, "12345678901234567890123456");
    EXPECT_EQ(operation.name, "Jan Kowalski \x8Cwi\xEAty");
    EXPECT_EQ(operation.title, "Za czynsz marzec");
    EXPECT_EQ(operation.amount, "-1&nbsp;234,56");
    EXPECT_EQ(operation.direction, 0);
    EXPECT_EQ(operation.kind, 3);
}

TEST(ReadOperationDetails, FallbackLabelsOfCardOperations) {
    const std::string page =
        "<label class=\"label\">Data transakcji</label><div class=\"content\">01-02-2010</div>"
        "<label>Rodzaj transakcji</label><div class=\"content\">TRANSAKCJA KARTY</div>"
        "<label>Numer u\xBFytej karty</label><div class=\"content\">4111********1111</div>"
        "<label>Miejsce transakcji</label><div class=\"content\">SKLEP</div>"
        "<label>Kwota obci\xB1\xBF"
        "enia</label><div class=\"content\"><span id=\"_label\" "
        "class=\"text amount\">12,30</span></div>";
    ScrapedOperation operation;
    ReadOperationDetails(page, operation, "-");
    EXPECT_EQ(operation.operationDate, "01-02-2010");
    EXPECT_EQ(operation.kind, 9);
    EXPECT_EQ(operation.account, "4111********1111");
    EXPECT_EQ(operation.title, "SKLEP");
    EXPECT_EQ(operation.amount, "-12,30");
}

std::string listPage(size_t first, const std::string& parameters) {
    std::string page = "<ul><li><p class=\"Amount\">Saldo</p></li>";
    for (size_t tid = first; tid < first + 2; ++tid) {
        page += "<li><a onclick=\"doSubmit('/account_oper_details.aspx','','POST','" + parameters +
                "',1)\" href=\"#\">Operacja " + std::to_string(tid) + "</a></li>";
    }
    return page + "</ul>Poprzednie&nbsp;operacje";
}

TEST(ListWalkGuard, StopsAtARepeatedPageAndBeyondTheBound) {
    ListWalkGuard walk;
    EXPECT_TRUE(walk.accept(listPage(1, "k=a")));
    EXPECT_TRUE(walk.accept(listPage(3, "k=b")));
    // The first page again, its links issued anew.
    EXPECT_FALSE(walk.accept(listPage(1, "k=c")));

    ListWalkGuard longWalk;
    for (size_t page = 0; page < ListWalkGuard::kMaxPages; ++page) {
        ASSERT_TRUE(longWalk.accept(listPage(2 * page, "k"))) << page;
    }
    EXPECT_FALSE(longWalk.accept(listPage(2 * ListWalkGuard::kMaxPages, "k")));
}
}  // namespace
