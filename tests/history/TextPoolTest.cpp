#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

#include "TextPool.h"

namespace {

// Texts of every length around the hash's eight-byte steps, some differing only at the end.
std::vector<std::u16string> sampleTexts(size_t count) {
    std::vector<std::u16string> texts;
    for (size_t i = 0; i < count; ++i) {
        std::u16string text(1 + i % 19, u'ł');
        text += static_cast<char16_t>(u'a' + i % 26);
        text += std::u16string(i / 26 % 3, u'0');
        text += static_cast<char16_t>(0x100 + i);
        texts.push_back(text);
    }
    return texts;
}

class TextPoolTest : public ::testing::TestWithParam<size_t> {};

// Past 32 texts the slot array grows (it is kept at most half full); every number and text
// must survive each growth.
TEST_P(TextPoolTest, EachTextIsHeldOnceUnderOneNumber) {
    const std::vector<std::u16string> texts = sampleTexts(GetParam());
    TextPool pool;
    std::vector<uint32_t> ids;
    for (const std::u16string& text : texts) {
        ids.push_back(pool.intern(text));
    }
    EXPECT_EQ(pool.size(), texts.size() + 1) << "one slot for the empty text";
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_NE(ids[i], TextPool::kEmpty);
        EXPECT_EQ(pool.intern(texts[i]), ids[i]) << i;
        EXPECT_EQ(pool.intern(QString::fromStdU16String(texts[i])), ids[i]) << i;
        EXPECT_EQ(pool.find(texts[i]), ids[i]) << i;
        EXPECT_EQ(pool.text(ids[i]).toStdU16String(), texts[i]) << i;
    }
    EXPECT_EQ(pool.size(), texts.size() + 1) << "nothing was added twice";
}

INSTANTIATE_TEST_SUITE_P(Counts, TextPoolTest, ::testing::Values(1, 31, 32, 33, 1000));

TEST(TextPoolEdgeTest, EmptyMissingAndCleared) {
    TextPool pool;
    EXPECT_EQ(pool.intern(std::u16string_view()), TextPool::kEmpty);
    EXPECT_TRUE(pool.text(TextPool::kEmpty).isEmpty());
    EXPECT_EQ(pool.find(u"Sklep"), TextPool::kMissing);
    const uint32_t id = pool.intern(u"Sklep");
    // The length counts, not a terminator.
    EXPECT_EQ(pool.find(std::u16string_view(u"Sklep\0", 6)), TextPool::kMissing);
    EXPECT_NE(pool.intern(std::u16string_view(u"Sklep\0", 6)), id);
    pool.clear();
    EXPECT_EQ(pool.size(), 1u);
    EXPECT_EQ(pool.find(u"Sklep"), TextPool::kMissing);
}

}  // namespace
