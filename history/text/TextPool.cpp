// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextPool.h"

namespace {

std::u16string_view viewOf(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

}  // namespace

TextPool::TextPool() {
    clear();
}

uint32_t TextPool::hashOf(std::u16string_view text) {
    // Eight bytes at a time: the texts are account numbers and names, short and many.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    size_t left = text.size() * sizeof(char16_t);
    uint64_t h = 0x9E3779B97F4A7C15ull ^ left;
    for (; left >= 8; left -= 8, bytes += 8) {
        uint64_t word = 0;
        std::memcpy(&word, bytes, 8);
        h = (h ^ word) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, bytes, left);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    return static_cast<uint32_t>(h ^ (h >> 29));
}

size_t TextPool::slotOf(std::u16string_view text, uint32_t hash) const {
    const size_t mask = m_slots.size() - 1;
    size_t at = hash & mask;
    while (m_slots[at].id != kMissing &&
           (m_slots[at].hash != hash || !holds(m_slots[at].id, text))) {
        at = (at + 1) & mask;
    }
    return at;
}

void TextPool::grow() {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(old.size() * 2, Slot{});
    const size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.id != kMissing) {
            size_t at = slot.hash & mask;
            while (m_slots[at].id != kMissing) {
                at = (at + 1) & mask;
            }
            m_slots[at] = slot;
        }
    }
}

uint32_t TextPool::intern(std::u16string_view text) {
    if (text.empty()) {
        return kEmpty;
    }
    const uint32_t hash = hashOf(text);
    size_t at = slotOf(text, hash);
    if (m_slots[at].id != kMissing) {
        return m_slots[at].id;
    }
    const auto id = static_cast<uint32_t>(m_texts.size());
    m_texts.emplace_back(reinterpret_cast<const QChar*>(text.data()),
                         static_cast<qsizetype>(text.size()));
    m_chars.append(text);
    m_starts.push_back(static_cast<uint32_t>(m_chars.size()));
    m_slots[at] = {hash, id};
    if (m_texts.size() * 2 > m_slots.size()) {
        grow();
    }
    return id;
}

uint32_t TextPool::intern(const QString& text) {
    return intern(viewOf(text));
}

uint32_t TextPool::find(std::u16string_view text) const {
    if (text.empty()) {
        return kEmpty;
    }
    return m_slots[slotOf(text, hashOf(text))].id;
}

void TextPool::clear() {
    m_slots.assign(64, Slot{});
    m_texts.clear();
    m_texts.emplace_back();
    m_chars.clear();
    m_starts.assign(2, 0);  // the empty text, number kEmpty
}
