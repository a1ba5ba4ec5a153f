// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

#include "TextArena.h"

namespace {

constexpr size_t kBlock = TextArena::kBlockCharacters;

struct ArenaCase {
    const char* name;
    std::vector<size_t> lengths;  // texts added in this order
    bool wide;                    // kept in UTF-16 (a surrogate pair makes them so)
};

// A text of that length whose every character tells its place, so that a text read from the
// wrong block or offset differs.
std::u16string textOf(size_t index, size_t length, bool wide) {
    std::u16string text(length, u'\0');
    for (size_t i = 0; i < length; ++i) {
        text[i] = i % 5 == 4 ? u'ż' : static_cast<char16_t>(u'a' + (index * 7 + i) % 26);
    }
    if (wide && length >= 2) {
        text[length - 2] = 0xD83D;  // U+1F4B6
        text[length - 1] = 0xDCB6;
    }
    return text;
}

class TextArenaTest : public ::testing::TestWithParam<ArenaCase> {};

TEST_P(TextArenaTest, TextsReadBackAcrossBlockBoundaries) {
    const ArenaCase& c = GetParam();
    TextArena arena;
    std::vector<uint32_t> refs, lengths;
    for (size_t i = 0; i < c.lengths.size(); ++i) {
        uint32_t length = 0;
        refs.push_back(arena.add(textOf(i, c.lengths[i], c.wide), length));
        lengths.push_back(length);
    }
    for (size_t i = 0; i < c.lengths.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(TextArena::count(lengths[i]), c.lengths[i]);
        EXPECT_EQ(TextArena::isWide(lengths[i]), c.wide && c.lengths[i] >= 2);
        EXPECT_EQ(arena.text(refs[i], lengths[i]).toStdU16String(),
                  textOf(i, c.lengths[i], c.wide));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, TextArenaTest,
    ::testing::Values(ArenaCase{"FillsTheBlockExactly", {kBlock - 3, 3, 1}, false},
                      ArenaCase{"OneCharacterTooMany", {kBlock - 3, 4, 5}, false},
                      ArenaCase{"LongerThanABlock", {10, kBlock + 5, 7}, false},
                      ArenaCase{"ExactlyABlock", {kBlock, 2, kBlock}, false},
                      ArenaCase{"WideFillsTheBlockExactly", {kBlock - 3, 3, 2}, true},
                      ArenaCase{"WideOneCharacterTooMany", {kBlock - 3, 4, 5}, true},
                      ArenaCase{"WideLongerThanABlock", {10, kBlock + 5, 7}, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ASCII is copied eight characters at a time: one other character anywhere, or none.
TEST(TextArenaCodeTest, OneCharacterBeyondAsciiAnywhere) {
    TextArena arena;
    const char16_t others[] = {u'ł', 0x80, 0xFF41};
    for (size_t length = 1; length <= 20; ++length) {
        for (size_t at = 0; at <= length; ++at) {
            std::u16string text(length, u'\0');
            for (size_t i = 0; i < length; ++i) {
                text[i] = static_cast<char16_t>(0x7F - (length + i) % 90);
            }
            if (at < length) {
                text[at] = others[(length + at) % 3];
            }
            uint32_t textLength = 0;
            const uint32_t ref = arena.add(text, textLength);
            EXPECT_FALSE(TextArena::isWide(textLength));
            EXPECT_EQ(arena.text(ref, textLength).toStdU16String(), text) << length << ' ' << at;
        }
    }
}

TEST(TextArenaCodeTest, TextsBeyondTheCodePageAreKeptWide) {
    TextArena arena;
    // Some codes are given out from the start (the Polish letters).
    const auto free = static_cast<size_t>(TextArena::kCodes - arena.page().used());
    std::vector<std::u16string> texts;
    for (char16_t c = 0x400; c < 0x400 + free + 1; ++c) {
        texts.push_back(std::u16string(u"x") + c);
    }
    texts.push_back(u"\u0130");  // lowers to two characters: never coded
    std::vector<uint32_t> refs, lengths;
    for (const std::u16string& text : texts) {
        uint32_t length = 0;
        refs.push_back(arena.add(text, length));
        lengths.push_back(length);
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(TextArena::isWide(lengths[i]), i >= free) << i;
        EXPECT_EQ(arena.text(refs[i], lengths[i]).toStdU16String(), texts[i]) << i;
    }
    uint32_t length = 1;
    arena.add(u"", length);
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(arena.text(0, 0).isEmpty());
}

}  // namespace
