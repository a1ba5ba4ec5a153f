// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "HugePageAllocator.h"
#include "StoredOperation.h"
#include "TextArena.h"
#include "TextPool.h"

// The stored operations as the main window holds them, compactly: one fixed-size row per
// operation with numbers in place of texts. Titles are kept in one arena; counterparties,
// accounts and account names, which repeat, are kept once in a pool. A StoredOperation is
// formed on demand for the details window, the export and the tests.
class HistoryEntries {
public:
    struct Row {
        int64_t operationDate = 0;
        int64_t bookingDate = 0;
        double amount = 0.0;
        int32_t id = 0;
        int32_t tid = 0;
        int32_t direction = 0;
        int32_t kind = 0;
        uint32_t title = 0;                               // in the arena
        uint32_t titleLength = 0;                         // as the arena gives it
        uint32_t counterpartyAccount = TextPool::kEmpty;  // in the pool, as the three below
        uint32_t counterpartyName = TextPool::kEmpty;
        uint32_t ownAccount = TextPool::kEmpty;
        uint32_t ownAccountName = TextPool::kEmpty;
    };

    // What the filters read of every entry on every keystroke, kept apart from the rest of
    // the row so that a filter pass reads half as much memory.
    struct Key {
        int64_t bookingDate = 0;
        double amount = 0.0;
        int32_t direction = 0;
        int32_t kind = 0;
        uint32_t ownAccount = TextPool::kEmpty;
        uint32_t counterpartyName = TextPool::kEmpty;
    };

    // The texts of a new row; the numbers are set in the row itself.
    struct Texts {
        std::u16string_view counterpartyAccount;
        std::u16string_view counterpartyName;
        std::u16string_view title;
        std::u16string_view ownAccount;
    };

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = StoredOperation;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = StoredOperation;
        const_iterator(const HistoryEntries* entries, size_t at) : m_entries(entries), m_at(at) {}
        StoredOperation operator*() const { return m_entries->at(m_at); }
        const_iterator& operator++() {
            ++m_at;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return m_at == other.m_at; }

    private:
        const HistoryEntries* m_entries;
        size_t m_at;
    };

    HistoryEntries() = default;
    HistoryEntries(const HistoryEntries&) = delete;
    HistoryEntries& operator=(const HistoryEntries&) = delete;
    HistoryEntries(HistoryEntries&&) = default;
    HistoryEntries& operator=(HistoryEntries&&) = default;
    // For tests and small lists: the entries of a vector, in its order.
    explicit HistoryEntries(const std::vector<StoredOperation>& entries);

    void clear();
    void reserve(size_t count) {
        m_keys.reserve(count);
        m_rest.reserve(count);
    }
    // Appends a row with the texts; the own account's name is the pool's text of the number
    // the account names were given under (see setAccountName), else empty.
    void append(Row row, const Texts& texts);
    void append(const StoredOperation& entry);
    // Appends the rows of entries filled apart (a later part of the same list, with the same
    // account names), which are left empty. Their texts are taken over, not copied.
    void append(HistoryEntries&& later);
    // Reserved room for rows [first, end) (see reserve), as memory that another thread can
    // fault in before the rows are appended (see HugePages::faultIn).
    class Room {
    public:
        void faultIn() const;

    private:
        friend class HistoryEntries;
        std::pair<const void*, size_t> m_keys{};
        std::pair<const void*, size_t> m_rest{};
    };
    Room room(size_t first, size_t end) const;
    // The name shown for an own account number.
    void setAccountName(std::u16string_view number, std::u16string_view name);

    // Puts the rows in the order of the full list: booking date, then bank number, both
    // descending; rows that tie on both keep their order. Uses a second thread.
    void sortLikeHistoryQuery();

    size_t size() const { return m_keys.size(); }
    bool empty() const { return m_keys.empty(); }
    const Key& key(size_t i) const { return m_keys[i]; }
    Row row(size_t i) const;
    StoredOperation at(size_t i) const;
    StoredOperation operator[](size_t i) const { return at(i); }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_keys.size()}; }

    const TextPool& pool() const { return m_pool; }
    const TextArena& titles() const { return m_titles; }
    QString title(size_t i) const { return m_titles.text(m_rest[i].title, m_rest[i].titleLength); }
    const QString& text(uint32_t poolId) const { return m_pool.text(poolId); }

private:
    // The row without its key.
    struct Rest {
        int64_t operationDate = 0;
        int32_t id = 0;
        int32_t tid = 0;
        uint32_t title = 0;
        uint32_t titleLength = 0;
        uint32_t counterpartyAccount = TextPool::kEmpty;
        uint32_t ownAccountName = TextPool::kEmpty;
    };
    void push(Row row);
    // A counterparty account is mostly named the same each time: the name is compared with the
    // one its account had last and looked up in the pool only when it differs.
    uint32_t counterpartyNameOf(uint32_t account, std::u16string_view name);

    // The pool number of the text last looked up: the rows of one account mostly come
    // together, so their own account is looked up in the pool once a run.
    struct LastText {
        std::u16string text;
        uint32_t id = TextPool::kMissing;
        uint32_t idOf(std::u16string_view view, TextPool& pool) {
            if (id == TextPool::kMissing || view != text) {
                id = pool.intern(view);
                text.assign(view);
            }
            return id;
        }
    };

    HugeVector<Key> m_keys;
    HugeVector<Rest> m_rest;
    TextArena m_titles;
    TextPool m_pool;
    std::vector<uint32_t> m_accountNames;  // by the pool number of an account: its name
    LastText m_lastOwn;
    std::vector<uint32_t> m_lastNames;  // by the pool number of a counterparty account
};
