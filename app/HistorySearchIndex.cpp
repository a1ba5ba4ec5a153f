#include "HistorySearchIndex.h"

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

void HistorySearchIndex::build(const std::vector<HistoryEntry>& entries) {
    clear();
    size_t characters = 0;
    for (const HistoryEntry& entry : entries) {
        characters += static_cast<size_t>(entry.counterpartyName.size() + entry.title.size()) + 2;
    }
    // Texts grow when lower-cased only in rare cases; the exact size avoids regrowing.
    m_text.reserve(characters);
    m_start.reserve(entries.size());
    m_month.reserve(entries.size());
    for (const HistoryEntry& entry : entries) {
        add(entry);
    }
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

void HistorySearchIndex::appendLowered(std::vector<char16_t>& out, const QString& text) {
    const size_t begin = out.size();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.push_back(u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + 32)
                                                 : (u == kSeparator ? kZeroStandIn : u));
        } else if (QChar::isSurrogate(u) || u == 0x130) {
            // Characters outside the basic plane, and the one whose small letter is two
            // characters long: leave them to the full mapping.
            out.resize(begin);
            const QString full = lowered(text);
            const auto* data = reinterpret_cast<const char16_t*>(full.constData());
            out.insert(out.end(), data, data + full.size());
            return;
        } else {
            out.push_back(QChar::toLower(u));
        }
    }
}

void HistorySearchIndex::add(const HistoryEntry& entry) {
    m_start.push_back(static_cast<uint32_t>(m_text.size()));
    appendLowered(m_text, entry.counterpartyName);
    m_text.push_back(kSeparator);
    appendLowered(m_text, entry.title);
    m_text.push_back(kSeparator);
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
        // The starts grow with the entries, and a match is mostly in the entry where the
        // search began or close after it.
        while (entry + 1 < count && m_start[entry + 1] <= static_cast<uint32_t>(at)) {
            ++entry;
        }
        hits[entry] = 1;
        if (entry + 1 >= count) {
            return;
        }
        ++entry;
        from = m_start[entry];
    }
}
