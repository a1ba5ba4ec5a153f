// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistorySearchIndex.h"

#include <ctime>
#include <thread>
#include <utility>

#include "TextSearch.h"
#include "TitleScan.h"

namespace {

// Separates the texts so that no match spans two of them; a zero inside a text is mapped
// away in texts and needles alike.
constexpr char16_t kSeparator = 0;
constexpr char16_t kZeroStandIn = 0xFFFD;

QStringView viewOf(const char16_t* text, uint32_t length) {
    return {text, static_cast<qsizetype>(length)};
}

void appendText(HistorySearchIndex::Part& part, QStringView text) {
    part.start.push_back(static_cast<uint32_t>(part.text.size()));
    HistorySearchIndex::appendLowered(part.text, text);
    part.text.push_back(kSeparator);
}

// Marks hits[i] for every text i of the part (the pool) that contains the needle.
void scan(const HistorySearchIndex::Part& part, const QString& needle, uint8_t* hits) {
    const size_t count = part.start.size() - 1;
    const QStringView text(part.text.data(), static_cast<qsizetype>(part.text.size()));
    size_t entry = 0;
    qsizetype at = 0;
    while (entry < count && (at = TextSearch::find(text, part.start[entry], needle)) >= 0) {
        // The starts grow with the texts, and a match is mostly in the text where the
        // search began or close after it.
        while (entry + 1 < count && part.start[entry + 1] <= static_cast<uint32_t>(at)) {
            ++entry;
        }
        hits[entry] = 1;
        ++entry;
    }
}

}  // namespace

void HistorySearchIndex::clear() {
    m_entries = nullptr;
    titleParts();
    m_narrow = false;
    m_bounds.clear();
    m_titles.clear();
    m_titles.shrink_to_fit();
    m_pool = {};
    m_month.clear();
    m_month.shrink_to_fit();
}

void HistorySearchIndex::startTitles() const {
    const HistoryEntries* entries = std::exchange(m_entries, nullptr);
    if (entries == nullptr) {
        return;
    }
    for (size_t p = 0; p < m_titles.size(); ++p) {
        m_builders.emplace_back(
            [this, entries, p] { buildTitles(*entries, m_bounds[p], m_titles[p]); });
    }
}

const std::vector<HistorySearchIndex::Part>& HistorySearchIndex::titleParts() const {
    startTitles();
    for (std::jthread& builder : m_builders) {
        builder.join();
    }
    m_builders.clear();
    return m_titles;
}

void HistorySearchIndex::build(const HistoryEntries& entries, size_t splitAbove, Titles titles) {
    clear();
    const size_t count = entries.size();
    buildCodes(entries.titles());
    const size_t parts = count > splitAbove ? 2 : 1;
    m_titles.resize(parts);
    for (size_t p = 0; p < parts; ++p) {
        m_bounds.push_back({count * p / parts, count * (p + 1) / parts});
    }
    m_entries = &entries;
    if (titles == Titles::Now) {
        startTitles();
    }
    buildMonths(entries);
    const TextPool& pool = entries.pool();
    for (uint32_t id = 0; id < pool.size(); ++id) {
        appendText(m_pool, pool.text(id));
    }
    m_pool.start.push_back(static_cast<uint32_t>(m_pool.text.size()));
}

void HistorySearchIndex::buildMonths(const HistoryEntries& entries) {
    m_month.resize(entries.size());
    int64_t lastTime = 0;
    int32_t lastMonth = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        // The entries come sorted by date: reuse the last month.
        const int64_t time = entries.key(i).bookingDate;
        if (lastMonth < 0 || time != lastTime) {
            lastTime = time;
            lastMonth = monthOf(time);
        }
        m_month[i] = lastMonth;
    }
}

void HistorySearchIndex::buildCodes(const TextArena& titles) {
    m_narrow = !titles.hasWide();
    if (!m_narrow) {
        return;
    }
    m_page = CodePage();
    const CodePage& page = titles.page();
    for (int code = 0; code < 0x80 + page.used(); ++code) {
        const char16_t c = page.character(static_cast<uint8_t>(code));
        char16_t lower = 0;
        if (c < 0x80) {
            lower = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32)
                                           : (c == kSeparator ? kZeroStandIn : c);
        } else {
            // Never a character whose small letter is longer: the arena keeps those apart.
            lower = QChar::toLower(c);
        }
        const int lowerCode = m_page.assign(lower);
        if (lowerCode <= 0) {
            m_narrow = false;  // cannot happen with the arena's code page; stay correct anyway
            return;
        }
        m_lowerCode[static_cast<size_t>(code)] = static_cast<uint8_t>(lowerCode);
    }
}

void HistorySearchIndex::buildTitles(const HistoryEntries& entries, Bounds bounds,
                                     Part& part) const {
    const size_t first = bounds.first;
    const size_t end = bounds.end;
    const TextArena& titles = entries.titles();
    size_t characters = 0;
    for (size_t i = first; i < end; ++i) {
        characters += TextArena::count(entries.row(i).titleLength) + 1;
    }
    // Texts grow when lower-cased only in rare cases; the exact size avoids regrowing.
    if (m_narrow) {
        part.bytes.reserve(characters + TitleScan::kPadding);
    } else {
        part.text.reserve(characters);
    }
    part.start.reserve(end - first + 1);
    part.first = first;
    for (size_t i = first; i < end; ++i) {
        const HistoryEntries::Row row = entries.row(i);
        const uint32_t length = TextArena::count(row.titleLength);
        if (m_narrow) {
            const size_t begin = part.bytes.size();
            part.start.push_back(static_cast<uint32_t>(begin));
            part.bytes.resize(begin + length + 1);
            uint8_t* to = part.bytes.data() + begin;
            const uint8_t* from = length != 0 ? titles.narrow(row.title) : nullptr;
            for (uint32_t k = 0; k < length; ++k) {
                to[k] = m_lowerCode[from[k]];
            }
            to[length] = kSeparator;
        } else if (TextArena::isWide(row.titleLength)) {
            appendText(part, viewOf(titles.wide(row.title), length));
        } else {
            appendText(part, titles.text(row.title, row.titleLength));
        }
    }
    part.start.push_back(static_cast<uint32_t>(m_narrow ? part.bytes.size() : part.text.size()));
    if (m_narrow) {
        part.bytes.resize(part.bytes.size() + TitleScan::kPadding, kSeparator);
    }
}

bool HistorySearchIndex::encode(const QString& needle, std::vector<uint8_t>& out) const {
    out.clear();
    out.reserve(static_cast<size_t>(needle.size()));
    for (const QChar c : needle) {
        const int code = m_page.find(c.unicode());
        if (code <= 0) {
            return false;
        }
        out.push_back(static_cast<uint8_t>(code));
    }
    return true;
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

void HistorySearchIndex::appendLowered(HugeVector<char16_t>& out, QStringView text) {
    const size_t begin = out.size();
    const auto* data = reinterpret_cast<const char16_t*>(text.data());
    const size_t length = static_cast<size_t>(text.size());
    out.resize(begin + length);
    char16_t* to = out.data() + begin;
    for (size_t i = 0; i < length; ++i) {
        const char16_t u = data[i];
        if (u < 0x80) {
            to[i] = u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + 32)
                                           : (u == kSeparator ? kZeroStandIn : u);
        } else if (QChar::isSurrogate(u) || u == 0x130) {
            // Characters outside the basic plane, and the one whose small letter is two
            // characters long: leave them to the full mapping.
            out.resize(begin);
            const QString full = lowered(text.toString());
            const auto* lower = reinterpret_cast<const char16_t*>(full.constData());
            out.insert(out.end(), lower, lower + full.size());
            return;
        } else {
            to[i] = QChar::toLower(u);
        }
    }
}

void HistorySearchIndex::findPoolMatches(const QString& needle,
                                         std::vector<uint8_t>& nameHits) const {
    nameHits.assign(m_pool.start.empty() ? 0 : m_pool.start.size() - 1, 0);
    if (!nameHits.empty()) {
        scan(m_pool, needle, nameHits.data());
    }
}

void HistorySearchIndex::findMatches(const HistoryEntries& entries, const QString& needle,
                                     std::vector<uint8_t>& hits) const {
    hits.assign(size(), 0);
    std::vector<uint8_t> nameHits;
    findPoolMatches(needle, nameHits);
    const Needle prepared = prepare(needle);
    for (const Part& part : titleParts()) {
        TitleScan scan(part, m_narrow, prepared);
        for (size_t i = part.first; i < part.first + part.start.size() - 1; ++i) {
            hits[i] = static_cast<uint8_t>(nameHits[entries.key(i).counterpartyName] != 0 ||
                                           scan.contains(i));
        }
    }
}

HistorySearchIndex::Needle HistorySearchIndex::prepare(const QString& needle) const {
    Needle prepared;
    prepared.text = needle;
    prepared.coded = m_narrow && encode(needle, prepared.codes);
    return prepared;
}
