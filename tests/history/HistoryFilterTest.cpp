// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QStringList>

#include "HistoryFilter.h"
#include "HistorySearchIndex.h"
#include "LocalTime.h"
#include "TitleScan.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>

namespace {

struct RangeCase {
    const char* name;
    int64_t now;
    int index;
    int64_t lower;
    int64_t upper;
};

class TimeRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(TimeRangeTest, BoundsFollowLocalCalendar) {
    const RangeCase& c = GetParam();
    const TimeRange range = HistoryFilter::ComputeTimeRange(c.index, c.now, 111, 222);
    ASSERT_TRUE(range.active);
    EXPECT_EQ(range.lower, c.lower);
    EXPECT_EQ(range.upper, c.upper);
}

const int64_t kMarch15 = LocalTime(2012, 3, 15, 15, 0, 0);
const int64_t kMarch1 = LocalTime(2012, 3, 1, 9, 0, 0);
const int64_t kJanuary10 = LocalTime(2012, 1, 10, 9, 0, 0);
const int64_t kJuly10 = LocalTime(2012, 7, 10, 12, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Ranges, TimeRangeTest,
    ::testing::Values(
        RangeCase{"Today", kMarch15, 1, LocalTime(2012, 3, 15, 0, 0, 0),
                  LocalTime(2012, 3, 15, 23, 59, 59)},
        RangeCase{"Yesterday", kMarch15, 2, LocalTime(2012, 3, 14, 0, 0, 0),
                  LocalTime(2012, 3, 14, 23, 59, 59)},
        RangeCase{"YesterdayIsLeapDay", kMarch1, 2, LocalTime(2012, 2, 29, 0, 0, 0),
                  LocalTime(2012, 2, 29, 23, 59, 59)},
        RangeCase{"ThisMonthEndsNow", kMarch15, 3, LocalTime(2012, 3, 1, 4, 0, 0), kMarch15},
        RangeCase{"LastMonthInLeapMarch", kMarch15, 4, LocalTime(2012, 2, 1, 4, 0, 0),
                  LocalTime(2012, 3, 1, 4, 0, 0)},
        RangeCase{"LastMonthInJanuary", kJanuary10, 4, LocalTime(2011, 12, 1, 4, 0, 0),
                  LocalTime(2012, 1, 1, 4, 0, 0)},
        RangeCase{"ThisYear", kMarch15, 5, LocalTime(2012, 1, 1, 4, 0, 0), kMarch15},
        // Summer time is kept from now, so 04:00 in January is read as summer time (03:00).
        RangeCase{"ThisYearFromSummer", kJuly10, 5, LocalTime(2012, 1, 1, 3, 0, 0), kJuly10},
        RangeCase{"LastYear", kMarch15, 6, LocalTime(2011, 1, 1, 4, 0, 0),
                  LocalTime(2012, 1, 1, 4, 0, 0)},
        RangeCase{"TwoYearsAgo", kMarch15, 7, LocalTime(2010, 1, 1, 4, 0, 0),
                  LocalTime(2011, 1, 1, 4, 0, 0)},
        RangeCase{"Manual", kMarch15, 8, 111, 222}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TimeRangeTest, WholeHistoryHasNoRange) {
    EXPECT_FALSE(HistoryFilter::ComputeTimeRange(0, kMarch15, 1, 2).active);
}

std::vector<QString> labels(const std::vector<GraphPoint>& points) {
    std::vector<QString> out;
    for (const GraphPoint& point : points) {
        out.push_back(point.label);
    }
    return out;
}

std::vector<MonthTotals> months(std::initializer_list<int32_t> keys) {
    std::vector<MonthTotals> out;
    for (int32_t key : keys) {
        out.push_back({key, 10.0, 5.0});
    }
    return out;
}

TEST(GraphPointsTest, FillsMissingMonthsByMonthNumberOnly) {
    EXPECT_EQ(labels(HistoryFilter::GraphPoints(months({201101, 201104}))),
              (std::vector<QString>{"2011 - 01", "2011 - 02", "2011 - 03", "2011 - 04"}));
    EXPECT_EQ(labels(HistoryFilter::GraphPoints(months({201011, 201102}))),
              (std::vector<QString>{"2010 - 11", "2011 - 02"}));
    EXPECT_EQ(labels(HistoryFilter::GraphPoints(months({201101, 201112}))),
              (std::vector<QString>{"2011 - 01", "2011 - 12"}));
    // The filled months take the year of the later month.
    EXPECT_EQ(labels(HistoryFilter::GraphPoints(months({201003, 201106}))),
              (std::vector<QString>{"2010 - 03", "2011 - 04", "2011 - 05", "2011 - 06"}));
    const auto points = HistoryFilter::GraphPoints(months({201101, 201103}));
    EXPECT_EQ(points[1].income, 0.0);
    EXPECT_EQ(points[1].outgo, 0.0);
    EXPECT_EQ(points[2].income, 10.0);
    EXPECT_EQ(points[2].outgo, 5.0);
}

TEST(SummaryTextTest, AveragesOverListedMonths) {
    FilterResult result;
    result.months = {{201101, 60, 40}, {201102, 150, 50}, {201104, 300, 0}};
    result.creditSum = 510;
    result.debitSum = -90;
    EXPECT_EQ(HistoryFilter::GraphCaption(result),
              "Średnie miesięczne obroty na rachunku: 200,0pln (+ 170,00, - 30,00)");
}

TEST(SummaryTextTest, EmptyListShowsZeros) {
    const FilterResult empty;
    EXPECT_EQ(HistoryFilter::TotalsLine(empty),
              "Operacje [ w sumie: 0, Obc: 0 Uzn: 0 ] | [ na kwote: 0,00pln, Obc: 0,00pln, Uzn: "
              "0,00pln ]");
    EXPECT_EQ(HistoryFilter::GraphCaption(empty),
              "Średnie miesięczne obroty na rachunku: 0,0pln (+ 0,00, - 0,00)");
}

TEST(SummaryTextTest, AmountsUseDecimalComma) {
    EXPECT_EQ(HistoryFilter::FormatAmount(-12.5), "-12,50");
    EXPECT_EQ(HistoryFilter::FormatAmount(1234567.891), "1234567,89");
    EXPECT_EQ(HistoryFilter::FormatAmount(-0.001), "0,00");
    EXPECT_EQ(HistoryFilter::FormatFixed(0.1 + 0.2 - 0.3 - 1e-9, 1), "0,0");
}

TEST(FilterRunTest, OtherDirectionsCountOnlyInListedAndNet) {
    std::vector<StoredOperation> list(3);
    list[0].amount = 10;
    list[0].direction = 1;
    list[1].amount = -4;
    list[1].direction = 0;
    list[2].amount = 7;
    list[2].direction = 5;
    const HistoryEntries entries(list);
    HistorySearchIndex index;
    index.build(entries);
    const FilterResult r = HistoryFilter::Run(entries, index, FilterValues{}, kMarch15);
    EXPECT_EQ(r.rows, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(r.listed, 3);
    EXPECT_EQ(r.creditCount, 1);
    EXPECT_EQ(r.debitCount, 1);
    EXPECT_DOUBLE_EQ(r.net, 13);
    ASSERT_EQ(r.months.size(), 1u);
    EXPECT_DOUBLE_EQ(r.months[0].credits, 10);
    EXPECT_DOUBLE_EQ(r.months[0].debits, 4);
}

}  // namespace

namespace {

// Titles are searched in one-byte codes when every title has them, else in UTF-16; both ways,
// and a search narrowed from a shorter text, must list what a plain lower-cased search lists.
QString lowered(const std::u16string& text) {
    return HistorySearchIndex::lowered(QString::fromStdU16String(text));
}

class SearchStorageTest : public ::testing::TestWithParam<const char16_t*> {};

TEST_P(SearchStorageTest, ListsWhatPlainSearchLists) {
    const QStringList titles = {"Zapłata ŁÓDŹ nr 12", "zwrot pożyczki", "ABC", "Żabka ŚLĘŻA", "",
                                "faktura FV/12"};
    const QStringList names = {"Sklep AB", "Żabka", "", "Łukasz"};
    std::vector<StoredOperation> list;
    for (int i = 0; i < 40; ++i) {
        StoredOperation e;
        e.title = (titles[i % titles.size()] + QString::number(i)).toStdU16String();
        e.counterpartyName = names[i % names.size()].toStdU16String();
        e.direction = i % 2;
        e.bookingDate = kMarch15 - i * 86400;
        list.push_back(e);
    }
    list[7].title += GetParam();
    list[8].title = std::u16string(u"ABC\0abc", 7);
    const HistoryEntries entries(list);
    HistorySearchIndex index;
    index.build(entries);
    const QStringList needles = {"ż",    "ża", "żab", "ł",   "łó",
                                 "łódź", "a",  "ab",  "abc", QString(QChar(0)),
                                 "İ",    "i̇",  "12",  "1",   "nr 1"};
    for (const QString& needle : needles) {
        FilterValues values;
        values.search = needle;
        const FilterResult full = HistoryFilter::Run(entries, index, values, kMarch15);
        std::vector<int32_t> expected;
        const QString lower = HistorySearchIndex::lowered(needle);
        for (size_t i = 0; i < list.size(); ++i) {
            if (lowered(list[i].title).contains(lower) ||
                lowered(list[i].counterpartyName).contains(lower)) {
                expected.push_back(static_cast<int32_t>(i));
            }
        }
        EXPECT_EQ(full.rows, expected) << needle.toStdString();
        if (needle.size() > 1) {
            FilterValues shorter = values;
            shorter.search.chop(1);
            ASSERT_TRUE(HistoryFilter::Narrows(shorter, kMarch15, values, kMarch15));
            const FilterResult before = HistoryFilter::Run(entries, index, shorter, kMarch15);
            const FilterResult narrowed =
                HistoryFilter::Run(entries, index, values, kMarch15, &before.rows);
            EXPECT_EQ(narrowed.rows, full.rows) << needle.toStdString();
            EXPECT_EQ(narrowed.debitSum, full.debitSum);
        }
    }
}

std::u16string manyLetters() {
    std::u16string text;
    for (char16_t c = 0x400; c < 0x400 + 200; ++c) {
        text += c;
    }
    return text;
}

const std::u16string kManyLetters = manyLetters();

INSTANTIATE_TEST_SUITE_P(Titles, SearchStorageTest,
                         ::testing::Values(u"", u"İstanbul", u"\U0001F600", kManyLetters.c_str()));

// What one plain pass lists and adds up, in list order, in whole grosze.
FilterResult plainRun(const std::vector<StoredOperation>& list, const QString& needle,
                      bool negate) {
    FilterResult r;
    std::map<int32_t, std::pair<int64_t, int64_t>> months;  // credits, debits
    int64_t net = 0;
    int64_t debits = 0;
    int64_t credits = 0;
    const QString lower = HistorySearchIndex::lowered(needle);
    for (size_t i = 0; i < list.size(); ++i) {
        const StoredOperation& e = list[i];
        const bool found =
            lowered(e.title).contains(lower) || lowered(e.counterpartyName).contains(lower);
        if (found == negate) {
            continue;
        }
        r.rows.push_back(static_cast<int32_t>(i));
        const int64_t grosze = std::llround(e.amount * 100);
        net += grosze;
        const int32_t month = HistorySearchIndex::monthOf(e.bookingDate);
        if (e.direction == 0) {
            ++r.debitCount;
            debits += grosze;
            months[month].second -= grosze;
        } else if (e.direction == 1) {
            ++r.creditCount;
            credits += grosze;
            months[month].first += grosze;
        }
    }
    r.net = static_cast<double>(net) / 100.0;
    r.debitSum = static_cast<double>(debits) / 100.0;
    r.creditSum = static_cast<double>(credits) / 100.0;
    for (const auto& [key, month] : months) {
        r.months.push_back({key, static_cast<double>(month.first) / 100.0,
                            static_cast<double>(month.second) / 100.0});
    }
    return r;
}

// A large history is listed by two threads, its titles searched through marks of stretches of
// text; every way must list and add up (to the last bit) what one plain pass does. Amounts
// with fractions that doubles only approximate (0.1, 0.29, ...) must still add up exactly.
TEST(FilterRunTest, TwoThreadsAndMarkedTitlesAgreeWithOnePlainPass) {
    std::mt19937 random(11);
    const QString letters = QStringLiteral("abłż ");
    const auto text = [&](size_t length) {
        QString out;
        for (size_t k = 0; k < length; ++k) {
            out += letters[static_cast<qsizetype>(random() % letters.size())];
        }
        return out;
    };
    std::vector<StoredOperation> list;
    for (int i = 0; i < 2000; ++i) {
        StoredOperation e;
        e.title = text(random() % 130).toStdU16String();  // some longer than one word of marks
        e.counterpartyName = i % 7 == 0 ? text(4).toStdU16String() : std::u16string();
        e.amount = static_cast<double>(static_cast<int>(random() % 100000) - 50000) / 100.0;
        e.direction = static_cast<int32_t>(random() % 3);
        e.bookingDate = kMarch15 - i * 4000;
        list.push_back(e);
    }
    const HistoryEntries entries(list);
    HistorySearchIndex index;
    // As at start-up: the titles lowered only when first needed.
    index.build(entries, 100, HistorySearchIndex::Titles::Later);
    ASSERT_EQ(index.titleParts().size(), 2u);
    const QStringList needles = {"a", "ł", "ab", "żb", "a ł", "bababa", QString(40, 'a'), "q"};
    for (const QString& needle : needles) {
        for (const bool negate : {false, true}) {
            FilterValues values;
            values.search = needle;
            values.negate = negate;
            const FilterResult got = HistoryFilter::Run(entries, index, values, kMarch15);
            const FilterResult want = plainRun(list, needle, negate);
            const std::string what = needle.toStdString() + (negate ? " negated" : "");
            EXPECT_EQ(got.rows, want.rows) << what;
            EXPECT_EQ(got.net, want.net) << what;
            EXPECT_EQ(got.debitSum, want.debitSum) << what;
            EXPECT_EQ(got.creditSum, want.creditSum) << what;
            EXPECT_EQ(got.debitCount, want.debitCount) << what;
            ASSERT_EQ(got.months.size(), want.months.size()) << what;
            for (size_t m = 0; m < got.months.size(); ++m) {
                EXPECT_EQ(got.months[m].key, want.months[m].key) << what;
                EXPECT_EQ(got.months[m].credits, want.months[m].credits) << what;
                EXPECT_EQ(got.months[m].debits, want.months[m].debits) << what;
            }
            if (!negate && needle.size() > 1) {
                FilterValues shorter = values;
                shorter.search.chop(1);
                const FilterResult before = HistoryFilter::Run(entries, index, shorter, kMarch15);
                EXPECT_EQ(HistoryFilter::Run(entries, index, values, kMarch15, &before.rows).rows,
                          want.rows)
                    << what;
            }
        }
    }
    // Stretches shorter than many titles, and entries skipped, mark the same.
    const HistorySearchIndex::Needle needle = index.prepare("ab");
    for (const HistorySearchIndex::Part& part : index.titleParts()) {
        TitleScan wide(part, index.narrow(), needle);
        TitleScan short16(part, index.narrow(), needle, 16);
        for (size_t i = part.first; i < part.first + part.start.size() - 1; i += 1 + i % 3) {
            EXPECT_EQ(short16.contains(i), wide.contains(i)) << i;
        }
    }
}

// The list's order (newest booking date first, then the higher number, then storage order)
// whether the file holds one run in either direction, a few runs, or no order at all.
TEST(EntriesSortTest, RunsInAnyDirectionSortAsOnePlainSort) {
    std::mt19937 random(5);
    const std::vector<std::function<int64_t(int)>> dates = {
        [](int i) { return int64_t{1000} + i; },      // written wholly oldest first
        [](int i) { return int64_t{1000} + i / 3; },  // one run, reversed
        [](int i) { return int64_t{5000} - i / 3; },  // already in order
        [](int i) { return int64_t{1000} + (i % 200) + (i / 200) * 7; },  // a few runs
        [&](int) { return static_cast<int64_t>(1000 + random() % 50); },  // no order
    };
    for (size_t d = 0; d < dates.size(); ++d) {
        std::vector<StoredOperation> list(1000);
        for (int i = 0; i < 1000; ++i) {
            list[static_cast<size_t>(i)].bookingDate = dates[d](i);
            list[static_cast<size_t>(i)].tid = static_cast<int32_t>(random() % 4);
            list[static_cast<size_t>(i)].id = i;
        }
        std::vector<StoredOperation> expected = list;
        std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
            return a.bookingDate != b.bookingDate ? a.bookingDate > b.bookingDate : a.tid > b.tid;
        });
        HistoryEntries entries(list);
        entries.sortLikeHistoryQuery();
        for (size_t i = 0; i < list.size(); ++i) {
            ASSERT_EQ(entries.at(i).id, expected[i].id) << "pattern " << d << ", row " << i;
        }
    }
}

TEST(FilterNarrowsTest, OnlyALongerSearchTextWithoutNegation) {
    FilterValues a;
    a.search = "ab";
    FilterValues b = a;
    b.search = "abc";
    EXPECT_TRUE(HistoryFilter::Narrows(a, kMarch15, b, kMarch15));
    EXPECT_FALSE(HistoryFilter::Narrows(b, kMarch15, a, kMarch15));
    b.negate = true;
    EXPECT_FALSE(HistoryFilter::Narrows(a, kMarch15, b, kMarch15));
    b.negate = false;
    b.kind = 3;
    EXPECT_FALSE(HistoryFilter::Narrows(a, kMarch15, b, kMarch15));
    // "this month" ends at now, which moved.
    a.timeRange = b.timeRange = 3;
    b.kind = 0;
    EXPECT_FALSE(HistoryFilter::Narrows(a, kMarch15, b, kMarch15 + 60));
    // The same list: every value and the range equal.
    b.search = a.search;
    EXPECT_TRUE(HistoryFilter::SameList(a, kMarch15, b, kMarch15));
    EXPECT_FALSE(HistoryFilter::SameList(a, kMarch15, b, kMarch15 + 60));
    b.negate = true;
    EXPECT_FALSE(HistoryFilter::SameList(a, kMarch15, b, kMarch15));
}

}  // namespace
