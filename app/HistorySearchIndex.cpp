#include "HistorySearchIndex.h"

#include <algorithm>
#include <ctime>

#include "TextSearch.h"

namespace {

// Separates the texts so that no match spans two of them; a zero inside a text is mapped
// away in texts and needles alike.
constexpr char16_t kSeparator = 0;
constexpr char16_t kZeroStandIn = 0xFFFD;

}  // namespace

void HistorySearchIndex::clear() {
    m_text.clear();
    m_text.shrink_to_fit();
    m_start.clear();
    m_start.shrink_to_fit();
    m_month.clear();
    m_month.shrink_to_fit();
    m_lastMonth = -1;
}

void HistorySearchIndex::reserve(size_t entries) {
    m_start.reserve(entries);
    m_month.reserve(entries);
}

QString HistorySearchIndex::lowered(const QString& text) {
    QString out = text.toLower();
    if (out.contains(QChar(kSeparator))) {
        out.replace(QChar(kSeparator), QChar(kZeroStandIn));
    }
    return out;
}

int32_t HistorySearchIndex::monthOf(int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return 0;
    }
    return (local.tm_year + 1900) * 100 + local.tm_mon + 1;
}

void HistorySearchIndex::add(const HistoryEntry& entry) {
    m_start.push_back(static_cast<uint32_t>(m_text.size()));
    for (const QString& part : {lowered(entry.counterpartyName), lowered(entry.title)}) {
        const auto* data = reinterpret_cast<const char16_t*>(part.constData());
        m_text.insert(m_text.end(), data, data + part.size());
        m_text.push_back(kSeparator);
    }
    if (m_lastMonth < 0 || entry.bookingDate != m_lastTime) {
        m_lastTime = entry.bookingDate;
        m_lastMonth = monthOf(entry.bookingDate);
    }
    m_month.push_back(m_lastMonth);
}

void HistorySearchIndex::findMatches(const QString& needle, std::vector<uint8_t>& hits) const {
    const size_t count = size();
    hits.assign(count, 0);
    if (count == 0) {
        return;
    }
    const QStringView text(m_text.data(), static_cast<qsizetype>(m_text.size()));
    qsizetype from = 0;
    size_t entry = 0;
    for (;;) {
        const qsizetype at = TextSearch::find(text, from, needle);
        if (at < 0) {
            return;
        }
        // The starts grow with the entries: find the entry holding the match.
        const auto next = std::upper_bound(m_start.begin() + static_cast<ptrdiff_t>(entry),
                                           m_start.end(), static_cast<uint32_t>(at));
        entry = static_cast<size_t>(next - m_start.begin()) - 1;
        hits[entry] = 1;
        if (entry + 1 >= count) {
            return;
        }
        ++entry;
        from = m_start[entry];
    }
}
