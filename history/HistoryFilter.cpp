// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryFilter.h"

#include <algorithm>
#include <ctime>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <thread>

#include "HistorySearchIndex.h"
#include "TitleScan.h"

namespace HistoryFilter {
namespace {

// Changes the named fields of now's broken-down local time and converts back; every other
// field, the daylight-saving flag included, keeps now's value.
int64_t fromLocal(const std::tm& base, const std::function<void(std::tm&)>& change) {
    std::tm t = base;
    change(t);
    return static_cast<int64_t>(std::mktime(&t));
}

void setTime(std::tm& t, int hour, int minute, int second) {
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
}

// 1 January of the year `yearsBack` before now's, 04:00:00.
int64_t newYear(const std::tm& base, int yearsBack) {
    return fromLocal(base, [yearsBack](std::tm& t) {
        t.tm_year -= yearsBack;
        t.tm_mon = 0;
        t.tm_mday = 1;
        setTime(t, 4, 0, 0);
    });
}

// Day 1 of the month `monthsBack` before now's, 04:00:00.
int64_t monthStart(const std::tm& base, int monthsBack) {
    return fromLocal(base, [monthsBack](std::tm& t) {
        t.tm_mon -= monthsBack;
        t.tm_mday = 1;
        setTime(t, 4, 0, 0);
    });
}

// A day's bounds, `daysBack` before now's day.
int64_t dayAt(const std::tm& base, int daysBack, int hour, int minute, int second) {
    return fromLocal(base, [=](std::tm& t) {
        t.tm_mday -= daysBack;
        setTime(t, hour, minute, second);
    });
}

class MonthMap {
public:
    MonthTotals& at(int32_t key) {
        if (m_last == nullptr || m_last->key != key) {
            MonthTotals& slot = m_months[key];
            slot.key = key;
            m_last = &slot;
        }
        return *m_last;
    }
    std::vector<MonthTotals> sorted() const {
        std::vector<MonthTotals> out;
        out.reserve(m_months.size());
        for (const auto& [key, totals] : m_months) {
            out.push_back(totals);
        }
        return out;
    }

private:
    std::map<int32_t, MonthTotals> m_months;
    MonthTotals* m_last = nullptr;
};

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The totals of the listed entries of one part of the list. Amounts are added as whole grosze,
// in integers, so the parts' totals can be made on their own threads and joined, and come out
// the same however the list was made. A loop keeps the running sums in its own variables
// (registers) and hands them back when it ends. Each sum takes every entry's amount or 0,
// without a branch on whether the entry is listed or which way it goes; a month's sums are
// what the running sums grew by while it lasted.
class ListTotals {
public:
    static constexpr int64_t kNoMonth = std::numeric_limits<int64_t>::min();
    struct Running {
        int64_t net = 0;
        int64_t debitSum = 0;
        int64_t creditSum = 0;
        int64_t debits = 0;
        int64_t credits = 0;
        int64_t month = kNoMonth;
        int64_t monthDebitSum = 0;  // debitSum and creditSum when month was entered
        int64_t monthCreditSum = 0;
    };

    Running take() const { return m_running; }
    void handBack(const Running& running) {
        m_running = running;
        leaveMonth(m_running);
        m_running.month = kNoMonth;
    }

    void add(Running& r, const HistoryEntries::Key& e, int32_t monthKey, bool listed) {
        const bool debit = listed & (e.direction == 0);
        const bool credit = listed & (e.direction == 1);
        // Rarely true, so well predicted; the parts are joined without a branch of their own.
        if ((debit | credit) & (monthKey != r.month)) {
            leaveMonth(r);
            r.month = monthKey;
            r.monthDebitSum = r.debitSum;
            r.monthCreditSum = r.creditSum;
        }
        const int64_t grosze = inGrosze(e.amount);
        r.net += grosze & mask(listed);
        r.debits += debit;
        r.credits += credit;
        r.debitSum += grosze & mask(debit);
        r.creditSum += grosze & mask(credit);
    }

    // Adds the totals of the part that follows this one in the list.
    void join(const ListTotals& next) {
        const Running& n = next.m_running;
        m_running.net += n.net;
        m_running.debitSum += n.debitSum;
        m_running.creditSum += n.creditSum;
        m_running.debits += n.debits;
        m_running.credits += n.credits;
        for (const MonthTotals& month : next.m_months.sorted()) {
            MonthTotals& totals = m_months.at(month.key);
            totals.credits += month.credits;
            totals.debits += month.debits;
        }
    }

    void finish(FilterResult& result) const {
        const Running& r = m_running;
        result.net = inZloty(r.net);
        result.debitSum = inZloty(r.debitSum);
        result.creditSum = inZloty(r.creditSum);
        result.debitCount = static_cast<int32_t>(r.debits);
        result.creditCount = static_cast<int32_t>(r.credits);
        result.listed = static_cast<int32_t>(result.rows.size());
        result.months = m_months.sorted();
        for (MonthTotals& month : result.months) {
            month.credits /= 100.0;
            month.debits /= 100.0;
        }
    }

private:
    // The amount in whole grosze, rounded by the floating-point unit itself (adding and taking
    // away 1.5 * 2^52 leaves no fraction), without a branch or a call.
    static int64_t inGrosze(double amount) {
        constexpr double kRound = 6755399441055744.0;
        return static_cast<int64_t>((amount * 100.0 + kRound) - kRound);
    }
    static double inZloty(int64_t grosze) { return static_cast<double>(grosze) / 100.0; }
    static int64_t mask(bool taken) { return -static_cast<int64_t>(taken); }

    // Adds what the sums grew by in the month left to its totals (in grosze until finish).
    void leaveMonth(const Running& r) {
        addToMonth(r.month, r.creditSum - r.monthCreditSum, r.debitSum - r.monthDebitSum);
    }
    // Kept out of the loop and given values, so that the loop's sums stay in registers.
    [[gnu::noinline]] void addToMonth(int64_t month, int64_t credits, int64_t debits) {
        if (month != kNoMonth) {
            MonthTotals& totals = m_months.at(static_cast<int32_t>(month));
            totals.credits += static_cast<double>(credits);
            totals.debits -= static_cast<double>(debits);
        }
    }

    MonthMap m_months;
    Running m_running;
};

// The filters' tests of single entries, prepared once per run.
class ListTest {
public:
    ListTest(const HistoryEntries& entries, const HistorySearchIndex& index,
             const FilterValues& values, int64_t now)
        : m_entries(entries),
          m_index(index),
          m_values(values),
          m_range(ComputeTimeRange(values.timeRange, now, values.from, values.to)),
          m_searching(!values.search.isEmpty()) {
        if (m_searching) {
            const QString needle = HistorySearchIndex::lowered(values.search);
            m_needle = index.prepare(needle);
            index.findPoolMatches(needle, m_nameHits);
            // Here, on one thread: the titles may still be being built.
            m_titles = &index.titleParts();
        }
        if (values.accountActive) {
            m_account =
                entries.pool().find({reinterpret_cast<const char16_t*>(values.account.utf16()),
                                     static_cast<size_t>(values.account.size())});
        }
    }

    // The entries of within that lie in [first, end).
    static std::pair<std::vector<int32_t>::const_iterator, std::vector<int32_t>::const_iterator>
    partOf(const std::vector<int32_t>& within, int32_t first, int32_t end) {
        const auto from = std::lower_bound(within.begin(), within.end(), first);
        return {from, std::lower_bound(from, within.end(), end)};
    }

    // Writes the listed entries of one part of the index (of within there, when given: a list
    // in ascending order, as every list is) to out and adds them to totals; returns how many.
    // Everything it calls is made part of it, so the running sums stay in registers.
    [[gnu::flatten]] size_t listPart(size_t part, const std::vector<int32_t>* within, int32_t* out,
                                     ListTotals& totals) const {
        const auto first = static_cast<int32_t>(m_index.partBounds()[part].first);
        const auto end = static_cast<int32_t>(m_index.partBounds()[part].end);
        std::optional<TitleScan> titles;
        if (m_searching) {
            titles.emplace((*m_titles)[part], m_index.narrow(), m_needle);
        }
        size_t listed = 0;
        ListTotals::Running running = totals.take();
        // Every entry is written and only a listed one kept: no branch on the outcome.
        const auto test = [&](int32_t i) {
            const HistoryEntries::Key& e = m_entries.key(static_cast<size_t>(i));
            const bool pass = passes(e, i, titles);
            out[listed] = i;
            listed += static_cast<size_t>(pass);
            totals.add(running, e, m_index.monthKey(static_cast<size_t>(i)), pass);
        };
        if (within != nullptr) {
            const auto [from, to] = partOf(*within, first, end);
            std::for_each(from, to, test);
        } else {
            for (int32_t i = first; i < end; ++i) {
                test(i);
            }
        }
        totals.handBack(running);
        return listed;
    }

private:
    bool passes(const HistoryEntries::Key& e, int32_t i, std::optional<TitleScan>& titles) const {
        // The cheap tests together, without a branch each.
        const bool listed =
            (!m_values.accountActive || e.ownAccount == m_account) &
            !((m_values.operations == 1 && e.direction != 1) ||
              (m_values.operations == 2 && e.direction != 0)) &
            (m_values.kind <= 0 || e.kind == m_values.kind) &
            (!m_range.active || (e.bookingDate >= m_range.lower && e.bookingDate <= m_range.upper));
        if (!m_searching) {
            return listed;
        }
        // Everything is always tested: whether an entry passes is as good as random, and a
        // mispredicted branch costs more than a test.
        const int hit = static_cast<int>(m_nameHits[e.counterpartyName] != 0) |
                        static_cast<int>(titles->contains(static_cast<size_t>(i)));
        return listed & ((hit != 0) != m_values.negate);
    }

    const HistoryEntries& m_entries;
    const HistorySearchIndex& m_index;
    const FilterValues& m_values;
    TimeRange m_range;
    bool m_searching;
    HistorySearchIndex::Needle m_needle;
    std::vector<uint8_t> m_nameHits;
    const std::vector<HistorySearchIndex::Part>* m_titles = nullptr;
    uint32_t m_account = TextPool::kMissing;
};

}  // namespace

TimeRange ComputeTimeRange(int32_t index, int64_t now, int64_t from, int64_t to) {
    const std::time_t nowT = static_cast<std::time_t>(now);
    std::tm base{};
    if (index <= 0 || index > 8 || localtime_r(&nowT, &base) == nullptr) {
        return {};
    }
    switch (index) {
        case 1:
            return {true, dayAt(base, 0, 0, 0, 0), dayAt(base, 0, 23, 59, 59)};
        case 2:
            return {true, dayAt(base, 1, 0, 0, 0), dayAt(base, 1, 23, 59, 59)};
        case 3:
            return {true, monthStart(base, 0), now};
        case 4:
            return {true, monthStart(base, 1), monthStart(base, 0)};
        case 5:
            return {true, newYear(base, 0), now};
        case 6:
            return {true, newYear(base, 1), newYear(base, 0)};
        case 7:
            return {true, newYear(base, 2), newYear(base, 1)};
        default:
            return {true, from, to};
    }
}

FilterResult Run(const HistoryEntries& entries, const HistorySearchIndex& index,
                 const FilterValues& values, int64_t now, const std::vector<int32_t>* within,
                 std::vector<int32_t> buffer) {
    ListTest test{entries, index, values, now};
    FilterResult result;
    result.rows = std::move(buffer);
    result.rows.resize(within != nullptr ? within->size() : index.size());
    // One thread per part of the index (two for a large list), each with its part's totals.
    const std::vector<HistorySearchIndex::Bounds>& parts = index.partBounds();
    size_t offset = 0;
    if (parts.size() > 1) {
        const auto split = static_cast<int32_t>(parts[1].first);
        offset =
            within != nullptr
                ? static_cast<size_t>(ListTest::partOf(*within, 0, split).second - within->begin())
                : parts[1].first;
    }
    ListTotals totals;
    ListTotals secondTotals;
    size_t first = 0;
    size_t second = 0;
    {
        std::jthread other;
        if (parts.size() > 1) {
            other = std::jthread([&] {
                second = test.listPart(1, within, result.rows.data() + offset, secondTotals);
            });
        }
        if (!parts.empty()) {
            first = test.listPart(0, within, result.rows.data(), totals);
        }
    }
    totals.join(secondTotals);
    // The two lists joined.
    const auto from = result.rows.begin() + static_cast<std::ptrdiff_t>(offset);
    std::copy_n(from, second, result.rows.begin() + static_cast<std::ptrdiff_t>(first));
    result.rows.resize(first + second);
    totals.finish(result);
    return result;
}

namespace {

// Some ranges end at "now".
bool sameRange(const FilterValues& previous, int64_t previousNow, const FilterValues& next,
               int64_t nextNow) {
    const TimeRange a =
        ComputeTimeRange(previous.timeRange, previousNow, previous.from, previous.to);
    const TimeRange b = ComputeTimeRange(next.timeRange, nextNow, next.from, next.to);
    return a.active == b.active && a.lower == b.lower && a.upper == b.upper;
}

bool sameOtherThanSearch(const FilterValues& previous, const FilterValues& next) {
    return previous.operations == next.operations && previous.accountActive == next.accountActive &&
           previous.account == next.account && previous.kind == next.kind;
}

}  // namespace

bool Narrows(const FilterValues& previous, int64_t previousNow, const FilterValues& next,
             int64_t nextNow) {
    if (previous.search.isEmpty() || previous.negate || next.negate ||
        next.search.size() <= previous.search.size() || !next.search.startsWith(previous.search) ||
        !sameOtherThanSearch(previous, next)) {
        return false;
    }
    return sameRange(previous, previousNow, next, nextNow);
}

bool SameList(const FilterValues& previous, int64_t previousNow, const FilterValues& next,
              int64_t nextNow) {
    return previous.search == next.search && previous.negate == next.negate &&
           sameOtherThanSearch(previous, next) && sameRange(previous, previousNow, next, nextNow);
}

std::vector<GraphPoint> GraphPoints(const std::vector<MonthTotals>& months) {
    std::vector<GraphPoint> points;
    int prev = -1;
    for (const MonthTotals& month : months) {
        const int m = month.key % 100;
        const QString year = QString::number(month.key / 100);
        // Only the month numbers are compared: gaps across a year end are not filled.
        if (prev != -1 && m - prev > 1 && m - prev != 11) {
            for (int j = prev + 1; j <= m - 1; ++j) {
                points.push_back({0.0, 0.0, year + QStringLiteral(" - ") + twoDigits(j)});
            }
        }
        prev = m;
        points.push_back(
            {month.credits, month.debits, year + QStringLiteral(" - ") + twoDigits(m)});
    }
    return points;
}

QString FormatFixed(double value, int decimals) {
    // QString::number ignores the process locale, so the comma is put in here.
    QString text = QString::number(value, 'f', decimals);
    // A value that rounds to zero is shown without a sign.
    if (text.startsWith(QLatin1Char('-')) &&
        text.count(QLatin1Char('0')) + text.count(QLatin1Char('.')) == text.size() - 1) {
        text.remove(0, 1);
    }
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString FormatAmount(double value) {
    return FormatFixed(value, 2);
}

QString TotalsLine(const FilterResult& r) {
    return QStringLiteral(
               "Operacje [ w sumie: %1, Obc: %2 Uzn: %3 ] | [ na kwote: %4pln, Obc: "
               "%5pln, Uzn: %6pln ]")
        .arg(r.listed)
        .arg(r.debitCount)
        .arg(r.creditCount)
        .arg(FormatAmount(r.net), FormatAmount(-r.debitSum), FormatAmount(r.creditSum));
}

QString GraphCaption(const FilterResult& r) {
    double turnover = 0.0;
    for (const MonthTotals& month : r.months) {
        turnover += month.credits + month.debits;
    }
    const double months = static_cast<double>(r.months.size());
    const double average = months > 0 ? turnover / months : 0.0;
    const double credits = months > 0 ? r.creditSum / months : 0.0;
    const double debits = months > 0 ? -r.debitSum / months : 0.0;
    return QStringLiteral("Średnie miesięczne obroty na rachunku: %1pln (+ %2, - %3)")
        .arg(FormatFixed(average, 1), FormatFixed(credits, 2), FormatFixed(debits, 2));
}

}  // namespace HistoryFilter
