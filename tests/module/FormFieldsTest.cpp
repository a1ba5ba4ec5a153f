// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "AbortFlag.h"
#include "BankSession.h"
#include "FormFields.h"
#include "ResponseReader.h"

namespace {
TEST(FormFields, SetFieldKeepsPositionAndAppendsNewNames) {
    FormFields fields;
    SetField(fields, "a", "1");
    SetField(fields, "b", "2");
    SetField(fields, "a", "3");
    SetField(fields, "A", "4");
    EXPECT_EQ(fields.pairs(), (std::vector<FormFields::Pair>{{"a", "3"}, {"b", "2"}, {"A", "4"}}));
    EXPECT_EQ(GetField(fields, "a"), "3");
    EXPECT_EQ(GetField(fields, "missing"), "");
}

TEST(EncodeForm, SkipsEmptyNamesAndTrimsTheStoredValues) {
    FormFields onlyEmpty;
    SetField(onlyEmpty, "", "x");
    EXPECT_EQ(EncodeForm(onlyEmpty), "");

    FormFields fields;
    SetField(fields, "a", " x y ");
    SetField(fields, "b", "");
    EXPECT_EQ(EncodeForm(fields), "a=x+y&b=");
    EXPECT_EQ(GetField(fields, "a"), "x y");
}

TEST(EncodeForm, NamesAreNotEncoded) {
    FormFields fields;
    SetField(fields, "__STATE", "a/b");
    SetField(fields, "x y", "1");
    EXPECT_EQ(EncodeForm(fields), "__STATE=a%2fb&x y=1");
}

struct EncodeCase {
    std::string in;
    std::string out;
};

class UrlEncodeValueTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(UrlEncodeValueTest, Encodes) {
    EXPECT_EQ(UrlEncodeValue(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Values, UrlEncodeValueTest,
                         ::testing::Values(EncodeCase{"\xB9", "%b9"}, EncodeCase{"\xB3", "%b3"},
                                           EncodeCase{"a&b=c", "a%26b%3dc"}, EncodeCase{"*", "%2a"},
                                           EncodeCase{"a b", "a+b"},
                                           EncodeCase{"-._AZaz09", "-._AZaz09"},
                                           EncodeCase{"+%", "%2b%25"}));

class ResponseReaderTest : public ::testing::Test {
protected:
    void TearDown() override { AbortFlag().store(false); }
};

TEST_F(ResponseReaderTest, ZeroByteEndsOnlyItsChunk) {
    std::string first(BankSession::kChunkSize, 'x');
    first.replace(0, 7, std::string("abc\0def", 7));
    ResponseReader reader;
    ASSERT_TRUE(reader.receive(first.data(), 500));
    ASSERT_TRUE(reader.receive(first.data() + 500, first.size() - 500));
    ASSERT_TRUE(reader.receive("XYZ", 3));
    reader.finish();
    EXPECT_EQ(reader.body(), "abcXYZ");
}

TEST_F(ResponseReaderTest, StopsAfterTheChunkCap) {
    const std::string block(64 * 1024, 'a');
    ResponseReader reader;
    size_t sent = 0;
    while (reader.receive(block.data(), block.size())) {
        sent += block.size();
        ASSERT_LT(sent, 20u * 1024 * 1024);
    }
    EXPECT_TRUE(reader.capped());
    EXPECT_FALSE(reader.cancelled());
    EXPECT_EQ(reader.body().size(), BankSession::kMaxChunks * BankSession::kChunkSize);
}

TEST_F(ResponseReaderTest, AbortDropsTheChunkAndStops) {
    ResponseReader reader;
    const std::string chunk(BankSession::kChunkSize, 'a');
    ASSERT_TRUE(reader.receive(chunk.data(), chunk.size()));
    AbortFlag().store(true);
    EXPECT_FALSE(reader.receive(chunk.data(), chunk.size()));
    reader.finish();
    EXPECT_TRUE(reader.cancelled());
    EXPECT_EQ(reader.body().size(), chunk.size());
}
}  // namespace
