#include <gtest/gtest.h>

#include "CodePage.h"

namespace {

struct PageCase {
    const char* name;
    int capacity;
    std::u16string seen;   // characters in the order they are first met
    std::u16string coded;  // those that get a code, in that order
};

class CodePageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(CodePageTest, CodesGoOutInOrderUntilFull) {
    const PageCase& c = GetParam();
    CodePage page(c.capacity);
    for (const char16_t ch : c.seen) {
        page.assign(ch);
    }
    EXPECT_EQ(page.used(), static_cast<int>(c.coded.size()));
    for (size_t i = 0; i < c.coded.size(); ++i) {
        const int code = page.find(c.coded[i]);
        EXPECT_EQ(code, 0x80 + static_cast<int>(i)) << "character " << i;
        EXPECT_EQ(page.character(static_cast<uint8_t>(code)), c.coded[i]);
        // Met again, it keeps its code.
        EXPECT_EQ(page.assign(c.coded[i]), code);
    }
    for (const char16_t ch : c.seen) {
        if (c.coded.find(ch) == std::u16string::npos) {
            EXPECT_EQ(page.find(ch), -1);
            EXPECT_EQ(page.assign(ch), -1) << "no code is left";
        }
    }
}

std::u16string run(char16_t first, int count) {
    std::u16string out;
    for (int i = 0; i < count; ++i) {
        out += static_cast<char16_t>(first + i);
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CodePageTest,
    ::testing::Values(PageCase{"Empty", 127, u"", u""},
                      PageCase{"RepeatsTakeOneCode", 127, u"ąęąłęó", u"ąęłó"},
                      PageCase{"NoRoom", 0, u"ą", u""},
                      PageCase{"LastCodeThenFull", 2, u"żźć", u"żź"},
                      PageCase{"AllCodes", 127, run(0x100, 130), run(0x100, 127)},
                      PageCase{"HighestCharacter", 1, u"\uFFFF\u0100", u"\uFFFF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodePageAsciiTest, AsciiIsItsOwnCodeAndTakesNoRoom) {
    CodePage page(1);
    for (char16_t c = 0; c < 0x80; ++c) {
        ASSERT_EQ(page.assign(c), c);
        ASSERT_EQ(page.character(static_cast<uint8_t>(c)), c);
    }
    EXPECT_EQ(page.used(), 0);
    EXPECT_EQ(page.assign(u'ą'), 0x80);
}

}  // namespace
