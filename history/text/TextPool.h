#pragma once

#include <QString>
#include <cstdint>
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
    size_t size() const { return m_texts.size(); }
    void clear();

    static constexpr uint32_t kEmpty = 0;
    static constexpr uint32_t kMissing = UINT32_MAX;

private:
    // Open addressing over the held texts: a lookup touches one slot array, not a node per
    // text. The hash is kept to skip most comparisons and to regrow without hashing again.
    struct Slot {
        const char16_t* text = nullptr;  // the held QString's characters, which never move
        uint32_t size = 0;
        uint32_t hash = 0;
        uint32_t id = kMissing;
    };
    static uint32_t hashOf(std::u16string_view text);
    size_t slotOf(std::u16string_view text, uint32_t hash) const;
    void grow();

    std::vector<QString> m_texts;
    std::vector<Slot> m_slots;  // a power of two long, at most half full
};
