// Every prefix of a real-looking page goes through every scanner: whatever a broken connection
// leaves, nothing may be read outside the text. Under AddressSanitizer each prefix is fenced,
// its terminator and spare room included, so such a read fails the test; a string of 15 bytes
// or fewer lives inside its own object, where nothing else would catch it.

#include <gtest/gtest.h>
#include <sanitizer/asan_interface.h>

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

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFenced = true;
#elif defined(__has_feature)
constexpr bool kFenced = __has_feature(address_sanitizer);
#else
constexpr bool kFenced = false;
#endif

// The first `length` bytes of a page; every byte after them in the string's storage (the
// terminator, the spare capacity and, for short strings, the rest of the inline buffer) is
// poisoned while the object lives.
class FencedPrefix {
public:
    FencedPrefix(const std::string& page, size_t length) : m_text(page.data(), length) {
        ASAN_POISON_MEMORY_REGION(m_text.data() + length, spare());
    }
    ~FencedPrefix() { ASAN_UNPOISON_MEMORY_REGION(m_text.data() + m_text.size(), spare()); }
    FencedPrefix(const FencedPrefix&) = delete;
    FencedPrefix& operator=(const FencedPrefix&) = delete;
    const std::string& text() const { return m_text; }

private:
    size_t spare() const { return m_text.capacity() + 1 - m_text.size(); }
    std::string m_text;
};

class PageCutTest : public ::testing::TestWithParam<const std::string*> {};

TEST_P(PageCutTest, EveryPrefixIsScannedSafely) {
    const std::string& page = *GetParam();
    for (size_t length = 0; length <= page.size(); ++length) {
        const FencedPrefix prefix(page, length);
        scanEverything(prefix.text());
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, PageCutTest,
                         ::testing::Values(&kSampleListPage, &kSampleDetailsPage));

// The fence itself: a read of the byte after the cut, which for short strings stays inside the
// string object and at any length is the terminator, ends the program.
class PageCutFenceTest : public ::testing::TestWithParam<size_t> {};

TEST_P(PageCutFenceTest, ReadAtTheCutFails) {
    if (!kFenced) {
        GTEST_SKIP() << "needs AddressSanitizer";
    }
    const size_t length = GetParam();
    const FencedPrefix prefix(kSampleListPage, length);
    const char* at = prefix.text().data() + length;
    EXPECT_DEATH((void)*static_cast<const volatile char*>(at), "AddressSanitizer");
    if (length > 0) {
        EXPECT_EQ(prefix.text().back(), kSampleListPage[length - 1]) << "the text stays readable";
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, PageCutFenceTest,
                         ::testing::Values(0, 1, 7, 8, 14, 15, 16, 17, 31, 100));

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
