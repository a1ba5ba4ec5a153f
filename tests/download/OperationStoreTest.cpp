// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include "OperationStore.h"
#include "Windows1250Decoder.h"

namespace {

TEST(Windows1250DecoderTest, DecodesPolishLettersAndMarksUnassignedBytes) {
    Windows1250Decoder decoder;
    EXPECT_EQ(decoder.decode("\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"), u"ĄĆĘŁŃÓŚŹŻ");
    EXPECT_EQ(decoder.decode("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF"), u"ąćęłńóśźż");
    EXPECT_EQ(decoder.decode("a\x81z"), u"a\uFFFDz");
    EXPECT_EQ(decoder.decode("Zakupy 7/2026\t~"), u"Zakupy 7/2026\t~");
    EXPECT_EQ(decoder.decode(nullptr), u"");
    EXPECT_EQ(decoder.decode(""), u"");
}

TEST(OperationStoreTest, AccountFieldIsReadWithinItsBuffer) {
    HistoryQuery query{};
    std::strcpy(query.account, "61102010260000042270201111");
    EXPECT_EQ(OperationStore::AccountOf(query), u"61102010260000042270201111");
    std::memset(query.account, '7', sizeof query.account);  // no terminator
    EXPECT_EQ(OperationStore::AccountOf(query), std::u16string(32, u'7'));
}

}  // namespace
