// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "DownloadTexts.h"

namespace {

struct CodeCase {
    int32_t code;
    const char16_t* text;
};

class ResultTextTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ResultTextTest, ExplainsTheCode) {
    EXPECT_EQ(ResultText(GetParam().code), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ResultTextTest,
    ::testing::Values(CodeCase{0, u"bez błędu"}, CodeCase{1, u"thread error/old iface"},
                      CodeCase{-1, u"błąd połaczenia"}, CodeCase{-2, u"bład interface'u sieci"},
                      CodeCase{-3, u"błąd parsowania (możliwe błędne hasło)"},
                      CodeCase{-4, u"błąd logowania (nieprawidłowe dane autoryzacji)"},
                      CodeCase{-5, u"niewłaściwe parametry"}, CodeCase{-6, u"nieznany błąd"},
                      CodeCase{-7, u"błąd pobierania danych"},
                      CodeCase{-8, u"użytkownik przerwał operację"}, CodeCase{-9, u"błąd zdalny"},
                      CodeCase{-10, u"brak parametru"},
                      CodeCase{-11, u"niewłaściwa struktura danych"},
                      CodeCase{-12, u"generic error"}, CodeCase{-13, u"nieznany błąd"},
                      CodeCase{-14, u"nieznany błąd"}, CodeCase{2, u"nieznany błąd"},
                      CodeCase{INT32_MIN, u"nieznany błąd"}));

TEST(DownloadTextsTest, WarningNamesAccountCodeAndMeaning) {
    EXPECT_EQ(WarningText(u"61102010260000042270201111", -8),
              u"OSTRZEŻENIE: Podczas próby pobrania historii operacji z konta\r\n"
              u"'61102010260000042270201111' wystąpił błąd o kodzie 8, co oznacza:\r\n"
              u"użytkownik przerwał operację");
    EXPECT_NE(WarningText(u"1", INT32_MIN).find(u"kodzie 2147483648,"), std::u16string::npos);
}

struct CountCase {
    int32_t count;
    double sum;
    const char16_t* text;
};

class CountTextTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountTextTest, UsesADecimalComma) {
    EXPECT_EQ(CountText(GetParam().count, GetParam().sum), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Sums, CountTextTest,
    ::testing::Values(CountCase{3, 12.5, u"Sztuk: 3, na łączną kwotę 12,50"},
                      CountCase{1, -1234.5, u"Sztuk: 1, na łączną kwotę -1234,50"},
                      CountCase{2, 999999.99, u"Sztuk: 2, na łączną kwotę 999999,99"}));

TEST(DownloadTextsTest, Titles) {
    EXPECT_EQ(JobTitle(u"Konto 'oszczędnościowe'"),
              u"Nowe operacje na koncie 'Konto 'oszczędnościowe''");
    EXPECT_EQ(RunTitle(), u"Nowe operacje na liście");
}

}  // namespace
