// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// Texts that operations repeat (counterparties, account numbers and names), each held once
// and named by a small number. Looking a text up copies nothing.
class TextPool {
public:
    TextPool();
    TextPool(const TextPool&) = delete;
    TextPool& operator=(const TextPool&) = delete;
    TextPool(TextPool&&) = default;
    TextPool& operator=(TextPool&&) = default;

    uint32_t intern(std::u16string_view text);
    uint32_t intern(const QString& text);
    // The number of a text, or kMissing when it is not held.
    uint32_t find(std::u16string_view text) const;
    const QString& text(uint32_t id) const { return m_texts[id]; }
    // Whether the text numbered id is this one.
    bool holds(uint32_t id, std::u16string_view text) const {
        return m_starts[id + 1] - m_starts[id] == text.size() &&
               std::memcmp(m_chars.data() + m_starts[id], text.data(),
                           text.size() * sizeof(char16_t)) == 0;
    }
    size_t size() const { return m_texts.size(); }
    void clear();

    static constexpr uint32_t kEmpty = 0;
    static constexpr uint32_t kMissing = UINT32_MAX;

private:
    // Open addressing over the held texts: a slot is eight bytes, so that the table of a few
    // thousand texts stays in the cache beside the rows being read, and the hash is kept to skip
    // most comparisons and to regrow without hashing again.
    struct Slot {
        uint32_t hash = 0;
        uint32_t id = kMissing;
    };
    static uint32_t hashOf(std::u16string_view text);
    size_t slotOf(std::u16string_view text, uint32_t hash) const;
    void grow();

    std::vector<QString> m_texts;
    // The held texts' characters once more, one after another: what a lookup compares with lies
    // close together rather than in a heap block of its own per text.
    std::u16string m_chars;
    std::vector<uint32_t> m_starts;  // where each text begins in m_chars, and where the last ends
    std::vector<Slot> m_slots;       // a power of two long, at most half full
};
