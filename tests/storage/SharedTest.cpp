// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ModuleInterface.h"
#include "Nrb.h"

namespace {

struct CheckDigitCase {
    std::u16string basic;
    int expected;
};

class CheckDigits : public ::testing::TestWithParam<CheckDigitCase> {};

std::u16string twoDigits(int n) {
    return {static_cast<char16_t>(u'0' + n / 10), static_cast<char16_t>(u'0' + n % 10)};
}

TEST_P(CheckDigits, MatchTheIbanRule) {
    const auto& c = GetParam();
    EXPECT_EQ(CheckNRB(u"00" + c.basic).expected, c.expected);
    EXPECT_TRUE(IsValidNRB(twoDigits(c.expected) + c.basic));
    EXPECT_FALSE(IsValidNRB(twoDigits(c.expected == 98 ? 2 : c.expected + 1) + c.basic));
}

INSTANTIATE_TEST_SUITE_P(Known, CheckDigits,
                         ::testing::Values(CheckDigitCase{u"111111111111111111111111", 73},
                                           CheckDigitCase{u"987654321098765432109876", 71},
                                           CheckDigitCase{u"100000000000000000000000", 44},
                                           CheckDigitCase{u"109010140000071219812874", 61}));

TEST(Nrb, SpacesAndHyphensAreRemovedAndNothingElse) {
    EXPECT_EQ(NormalizeNRB(u"73 1111-1111 1111 1111-1111 1111"), u"73111111111111111111111111");
    EXPECT_EQ(NormalizeNRB(u"PL\t73-x"), u"PL\t73x");
    EXPECT_TRUE(IsValidNRB(NormalizeNRB(u"73 1111 1111 1111 1111 1111 1111")));
    EXPECT_TRUE(IsValidNRB(NormalizeNRB(u"44-1000-0000-0000-0000-0000-0000")));
    EXPECT_FALSE(IsValidNRB(NormalizeNRB(u"74 1111 1111 1111 1111 1111 1111")));
}

TEST(Nrb, CountryLettersFailTheLengthTest) {
    EXPECT_FALSE(IsValidNRB(u"PL73111111111111111111111111"));
    EXPECT_FALSE(IsValidNRB(u"7311111111111111111111111"));
    EXPECT_FALSE(IsValidNRB(u""));
}

TEST(Nrb, NonDigitsCountAsZero) {
    EXPECT_EQ(CheckNRB(u"00A00000000000000000000000").expected,
              CheckNRB(u"00000000000000000000000000").expected);
    EXPECT_EQ(CheckNRB(u"001x0000000000000000000000").expected, 44);
}

TEST(Nrb, EnteredDigitsReadLikeAtoi) {
    EXPECT_EQ(CheckNRB(u"44100000000000000000000000").entered, 44);
    EXPECT_EQ(CheckNRB(u" 4100000000000000000000000").entered, 4);
    EXPECT_EQ(CheckNRB(u"+4100000000000000000000000").entered, 4);
    EXPECT_EQ(CheckNRB(u"4x100000000000000000000000").entered, 4);
    EXPECT_EQ(CheckNRB(u"xx100000000000000000000000").entered, 0);
}

TEST(Nrb, ExpectedIsAlways2To98AndMakesTheNumberValid) {
    uint64_t seed = 12345;
    for (int n = 0; n < 5000; ++n) {
        std::u16string basic;
        for (int i = 0; i < 24; ++i) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            basic.push_back(static_cast<char16_t>(u'0' + (seed >> 33) % 10));
        }
        const int expected = CheckNRB(u"00" + basic).expected;
        ASSERT_GE(expected, 2);
        ASSERT_LE(expected, 98);
        ASSERT_TRUE(IsValidNRB(twoDigits(expected) + basic))
            << std::string(basic.begin(), basic.end());
    }
}

struct CodeCase {
    int32_t code;
    int32_t value;
};

class ResultCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ResultCodes, HaveTheirFixedValues) {
    EXPECT_EQ(GetParam().code, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    All, ResultCodes,
    ::testing::Values(CodeCase{ResultCode::Success, 0}, CodeCase{ResultCode::NoConnection, -1},
                      CodeCase{ResultCode::NoSession, -2}, CodeCase{ResultCode::RequestFailed, -3},
                      CodeCase{ResultCode::MissingField, -5}, CodeCase{ResultCode::LogOnFailed, -7},
                      CodeCase{ResultCode::Cancelled, -8}, CodeCase{ResultCode::NoQuery, -10},
                      CodeCase{ResultCode::WrongSize, -11},
                      CodeCase{ResultCode::BadAccountNumber, -14}));

}  // namespace
