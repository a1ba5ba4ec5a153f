#include "HistoryFilter.h"

#include <ctime>
#include <functional>
#include <map>

#include "HistorySearchIndex.h"

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
                 const FilterValues& values, int64_t now, const std::vector<int32_t>* within) {
    FilterResult result;
    const bool searching = !values.search.isEmpty();
    const QString needle = searching ? HistorySearchIndex::lowered(values.search) : QString();
    const HistorySearchIndex::Needle prepared =
        within != nullptr ? index.prepare(needle) : HistorySearchIndex::Needle{};
    std::vector<uint8_t> titleHits;
    std::vector<uint8_t> nameHits;
    if (searching) {
        index.findPoolMatches(needle, nameHits);
        if (within == nullptr) {
            index.findTitleMatches(needle, titleHits);
        }
    }
    const auto matches = [&](size_t i, uint32_t name) {
        if (nameHits[name] != 0) {
            return true;
        }
        return within == nullptr ? titleHits[i] != 0 : index.titleContains(i, prepared);
    };
    uint32_t account = TextPool::kMissing;
    if (values.accountActive) {
        account = entries.pool().find({reinterpret_cast<const char16_t*>(values.account.utf16()),
                                       static_cast<size_t>(values.account.size())});
    }
    const TimeRange range = ComputeTimeRange(values.timeRange, now, values.from, values.to);
    MonthMap months;
    const size_t count = within != nullptr ? within->size() : entries.size();
    result.rows.reserve(count);
    for (size_t n = 0; n < count; ++n) {
        const size_t i = within != nullptr ? static_cast<size_t>((*within)[n]) : n;
        const HistoryEntries::Key& e = entries.key(i);
        if (values.accountActive && e.ownAccount != account) {
            continue;
        }
        if ((values.operations == 1 && e.direction != 1) ||
            (values.operations == 2 && e.direction != 0)) {
            continue;
        }
        if (values.kind > 0 && e.kind != values.kind) {
            continue;
        }
        if (range.active && (e.bookingDate < range.lower || e.bookingDate > range.upper)) {
            continue;
        }
        if (searching && matches(i, e.counterpartyName) == values.negate) {
            continue;
        }
        result.rows.push_back(static_cast<int32_t>(i));
        ++result.listed;
        result.net += e.amount;
        if (e.direction == 0) {
            ++result.debitCount;
            result.debitSum += e.amount;
            months.at(index.monthKey(i)).debits -= e.amount;
        } else if (e.direction == 1) {
            ++result.creditCount;
            result.creditSum += e.amount;
            months.at(index.monthKey(i)).credits += e.amount;
        }
    }
    result.months = months.sorted();
    return result;
}

bool Narrows(const FilterValues& previous, int64_t previousNow, const FilterValues& next,
             int64_t nextNow) {
    if (previous.search.isEmpty() || previous.negate || next.negate ||
        next.search.size() <= previous.search.size() || !next.search.startsWith(previous.search) ||
        previous.operations != next.operations || previous.accountActive != next.accountActive ||
        previous.account != next.account || previous.kind != next.kind) {
        return false;
    }
    // Some ranges end at "now".
    const TimeRange a =
        ComputeTimeRange(previous.timeRange, previousNow, previous.from, previous.to);
    const TimeRange b = ComputeTimeRange(next.timeRange, nextNow, next.from, next.to);
    return a.active == b.active && a.lower == b.lower && a.upper == b.upper;
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
