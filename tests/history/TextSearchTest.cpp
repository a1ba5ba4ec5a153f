// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "HistorySearchIndex.h"
#include "TextSearch.h"

namespace {

qsizetype naiveFind(const std::u16string& text, qsizetype from, const std::u16string& needle) {
    const auto at = text.find(needle, static_cast<size_t>(from));
    return at == std::u16string::npos ? -1 : static_cast<qsizetype>(at);
}

QStringView view(const std::u16string& text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

// Small alphabets give many partial matches, where a vectorised search goes wrong first.
TEST(TextSearchTest, AgreesWithPlainSearchOnRandomTexts) {
    std::mt19937 random(7);
    const std::u16string alphabet(u"abćś\0", 5);
    for (int round = 0; round < 3000; ++round) {
        std::u16string text(random() % 70, u'a');
        for (auto& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        std::u16string needle(1 + random() % 5, u'a');
        for (auto& c : needle) {
            c = alphabet[random() % 3];
        }
        const qsizetype from = text.empty() ? 0 : static_cast<qsizetype>(random() % text.size());
        ASSERT_EQ(TextSearch::find(view(text), from, view(needle)), naiveFind(text, from, needle))
            << "round " << round;
    }
}

TEST(TextSearchTest, FindsAtTheVeryEndAndNotPastIt) {
    const std::u16string text = u"0123456789abcdefXYZ";
    EXPECT_EQ(TextSearch::find(view(text), 0, u"XYZ"), 16);
    EXPECT_EQ(TextSearch::find(view(text), 17, u"XYZ"), -1);
    EXPECT_EQ(TextSearch::find(view(text), 0, u"XYZW"), -1);
    EXPECT_EQ(TextSearch::find(view(text), 0, u"Z"), 18);
    EXPECT_EQ(TextSearch::find(view(text), 3, u""), 3);
}

std::vector<uint8_t> matches(const std::vector<StoredOperation>& list, const QString& needle) {
    const HistoryEntries entries(list);
    HistorySearchIndex index;
    index.build(entries);
    std::vector<uint8_t> hits;
    index.findMatches(entries, HistorySearchIndex::lowered(needle), hits);
    return hits;
}

StoredOperation entry(const QString& name, const QString& title) {
    StoredOperation e;
    e.counterpartyName = name.toStdU16String();
    e.title = title.toStdU16String();
    return e;
}

TEST(HistorySearchIndexTest, MatchesNameOrTitleButNeverAcrossThem) {
    const std::vector<StoredOperation> entries = {entry("Sklep AB", "Cena"), entry("ŚLĘŻA", "x"),
                                                  entry("", "zakupy abc"), entry("abc", "")};
    EXPECT_EQ(matches(entries, "ABC"), (std::vector<uint8_t>{0, 0, 1, 1}));
    // "ab" + "ce" would only match if the name ran into the title.
    EXPECT_EQ(matches(entries, "abce"), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(matches(entries, "ślęża"), (std::vector<uint8_t>{0, 1, 0, 0}));
    EXPECT_EQ(matches(entries, "Śl"), (std::vector<uint8_t>{0, 1, 0, 0}));
    EXPECT_EQ(matches(entries, "a"), (std::vector<uint8_t>{1, 1, 1, 1}));
}

TEST(HistorySearchIndexTest, MonthOfLocalDate) {
    // 2011-12-31 23:30 UTC is already January in Warsaw.
    EXPECT_EQ(HistorySearchIndex::monthOf(1325374200), 201201);
    EXPECT_EQ(HistorySearchIndex::monthOf(0), 197001);
}

}  // namespace

namespace {

// The index lowers texts character by character; it must agree with QString::toLower.
TEST(HistorySearchIndexTest, QuickLoweringAgreesWithToLowerOnEveryCharacter) {
    QString all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (!QChar::isSurrogate(c)) {
            all.append(QChar(static_cast<char16_t>(c)));
        }
    }
    all.append(QString::fromUcs4(U"\U0001D400\U00010400"));  // outside the basic plane
    for (qsizetype at = 0; at < all.size(); at += 500) {
        const QString part = all.mid(at, 500);
        HugeVector<char16_t> quick;
        HistorySearchIndex::appendLowered(quick, part);
        const QString expected = HistorySearchIndex::lowered(part);
        ASSERT_EQ(QString(reinterpret_cast<const QChar*>(quick.data()),
                          static_cast<qsizetype>(quick.size())),
                  expected)
            << "block at " << at;
    }
}

}  // namespace
