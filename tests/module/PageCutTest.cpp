// Every prefix of a real-looking page goes through every scanner: whatever a broken connection
// leaves, nothing may be read outside the text (run under AddressSanitizer).

#include <gtest/gtest.h>

#include "HtmlScanner.h"
#include "OperationDelivery.h"
#include "OperationDetails.h"
#include "OperationList.h"
#include "SamplePages.h"

namespace {
void scanEverything(const std::string& page) {
    FormFields fields;
    ReadForm(fields, "MainForm", page);
    std::vector<std::string> args;
    ReadOnclickArguments(page, " 05-03-201", args);
    ReadOnclickArguments(page, "", args);
    std::vector<OperationLink> links;
    ReadOperationList(page, links);
    ReadPrevPageParameters(page);
    ListPageFingerprint(page);
    std::string cut;
    ExtractBetween(page, "<li", "</li", cut, 0);
    ScrapedOperation operation;
    ReadOperationDetails(page, operation, "-");
    NormaliseOperation(operation);
    std::string text = page;
    CollapseSpaces(text);
    ParseDayDate(page);
}

class PageCutTest : public ::testing::TestWithParam<const std::string*> {};

TEST_P(PageCutTest, EveryPrefixIsScannedSafely) {
    const std::string& page = *GetParam();
    for (size_t length = 0; length <= page.size(); ++length) {
        // A copy of exactly this length, so any read past its end is caught.
        const std::string prefix(page.data(), length);
        scanEverything(prefix);
    }
    SUCCEED();
}

INSTANTIATE_TEST_SUITE_P(Pages, PageCutTest,
                         ::testing::Values(&kSampleListPage, &kSampleDetailsPage));

TEST(PageCut, MarkersAtTheVeryEndAreNotFound) {
    std::vector<OperationLink> links;
    EXPECT_FALSE(ReadOperationList("<li><a href=\"#\">", links));
    EXPECT_EQ(
        ReadPrevPageParameters(
            "<button id=\"PrevPage\" onclick=\"doSubmit('/account_oper_list.aspx','','POST','"),
        "");
    FormFields fields;
    ReadForm(fields, "MainForm", " <form name=");
    ReadForm(fields, "MainForm", " <form name=\"MainForm\"><input name</form>");
    EXPECT_EQ(fields.size(), 0u);
    std::vector<std::string> args;
    EXPECT_TRUE(ReadOnclickArguments("<a onclick", "onclick", args));
    EXPECT_TRUE(args.empty());
}
}  // namespace
