// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryEntries.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace {

struct SortKey {
    int64_t date;
    int32_t tid;
    uint32_t index;
};

bool comesFirst(const SortKey& a, const SortKey& b) {
    if (a.date != b.date) {
        return a.date > b.date;
    }
    if (a.tid != b.tid) {
        return a.tid > b.tid;
    }
    return a.index < b.index;
}

// Operations are stored mostly in date order, as downloads append them: the file is often
// one run in the reverse of the list's order, or a few runs. Sorts keys by reversing the
// runs that descend and merging them, when there are few; false (keys untouched in order)
// when there are many.
bool sortByRuns(HugeVector<SortKey>& keys) {
    constexpr size_t kMostRuns = 64;
    std::vector<size_t> bounds{0};
    const size_t count = keys.size();
    for (size_t i = 0; i < count && bounds.size() <= kMostRuns;) {
        size_t j = i + 1;
        if (j < count && comesFirst(keys[j], keys[i])) {
            while (j < count && comesFirst(keys[j], keys[j - 1])) {
                ++j;
            }
        } else {
            while (j < count && !comesFirst(keys[j], keys[j - 1])) {
                ++j;
            }
        }
        bounds.push_back(j);
        i = j;
    }
    if (bounds.size() > kMostRuns) {
        return false;
    }
    for (size_t r = 0; r + 1 < bounds.size(); ++r) {
        const auto first = keys.begin() + static_cast<std::ptrdiff_t>(bounds[r]);
        const auto last = keys.begin() + static_cast<std::ptrdiff_t>(bounds[r + 1]);
        if (last - first > 1 && comesFirst(*(first + 1), *first)) {
            std::reverse(first, last);
        }
    }
    // Neighbouring runs merged until one is left.
    while (bounds.size() > 2) {
        std::vector<size_t> merged{0};
        for (size_t r = 0; r + 1 < bounds.size(); r += 2) {
            const auto at = [&](size_t b) { return keys.begin() + static_cast<std::ptrdiff_t>(b); };
            if (r + 2 < bounds.size()) {
                std::inplace_merge(at(bounds[r]), at(bounds[r + 1]), at(bounds[r + 2]), comesFirst);
            }
            merged.push_back(bounds[std::min(r + 2, bounds.size() - 1)]);
        }
        bounds = std::move(merged);
    }
    return true;
}

}  // namespace

HistoryEntries::HistoryEntries(const std::vector<StoredOperation>& entries) {
    reserve(entries.size());
    for (const StoredOperation& entry : entries) {
        append(entry);
    }
}

void HistoryEntries::clear() {
    m_keys.clear();
    m_keys.shrink_to_fit();
    m_rest.clear();
    m_rest.shrink_to_fit();
    m_titles.clear();
    m_pool.clear();
    m_accountNames.clear();
    m_lastOwn = {};
    m_lastNames.clear();
}

void HistoryEntries::setAccountName(std::u16string_view number, std::u16string_view name) {
    const uint32_t account = m_pool.intern(number);
    const uint32_t text = m_pool.intern(name);
    if (m_accountNames.size() <= account) {
        m_accountNames.resize(account + 1, TextPool::kEmpty);
    }
    m_accountNames[account] = text;
}

void HistoryEntries::append(Row row, const Texts& texts) {
    row.counterpartyAccount = m_pool.intern(texts.counterpartyAccount);
    row.counterpartyName = counterpartyNameOf(row.counterpartyAccount, texts.counterpartyName);
    row.ownAccount = m_lastOwn.idOf(texts.ownAccount, m_pool);
    row.title = m_titles.add(texts.title, row.titleLength);
    push(row);
}

uint32_t HistoryEntries::counterpartyNameOf(uint32_t account, std::u16string_view name) {
    if (m_lastNames.size() <= account) {
        m_lastNames.resize(account + 1, TextPool::kMissing);
    }
    uint32_t& last = m_lastNames[account];
    if (last == TextPool::kMissing || !m_pool.holds(last, name)) {
        last = m_pool.intern(name);
    }
    return last;
}

void HistoryEntries::append(HistoryEntries&& later) {
    // Both pools hold the few texts that repeat: those of later get this pool's numbers.
    std::vector<uint32_t> pooled(later.m_pool.size());
    for (size_t id = 0; id < pooled.size(); ++id) {
        pooled[id] = m_pool.intern(later.m_pool.text(static_cast<uint32_t>(id)));
    }
    const auto here = [&pooled](uint32_t id) { return id < pooled.size() ? pooled[id] : id; };
    const TextArena::Adoption titles = m_titles.adopt(std::move(later.m_titles));
    reserve(size() + later.size());
    for (size_t i = 0; i < later.size(); ++i) {
        Key key = later.m_keys[i];
        key.ownAccount = here(key.ownAccount);
        key.counterpartyName = here(key.counterpartyName);
        Rest rest = later.m_rest[i];
        rest.counterpartyAccount = here(rest.counterpartyAccount);
        rest.ownAccountName = here(rest.ownAccountName);
        rest.title = m_titles.settle(titles, rest.title, rest.titleLength);
        m_keys.push_back(key);
        m_rest.push_back(rest);
    }
    later.clear();
}

HistoryEntries::Room HistoryEntries::room(size_t first, size_t end) const {
    Room room;
    end = std::min(end, m_keys.capacity());
    if (first < end) {
        room.m_keys = {m_keys.data() + first, (end - first) * sizeof(Key)};
        room.m_rest = {m_rest.data() + first, (end - first) * sizeof(Rest)};
    }
    return room;
}

void HistoryEntries::Room::faultIn() const {
    HugePages::faultIn(m_keys.first, m_keys.second);
    HugePages::faultIn(m_rest.first, m_rest.second);
}

void HistoryEntries::push(Row row) {
    row.ownAccountName =
        row.ownAccount < m_accountNames.size() ? m_accountNames[row.ownAccount] : TextPool::kEmpty;
    m_keys.push_back({row.bookingDate, row.amount, row.direction, row.kind, row.ownAccount,
                      row.counterpartyName});
    m_rest.push_back({row.operationDate, row.id, row.tid, row.title, row.titleLength,
                      row.counterpartyAccount, row.ownAccountName});
}

HistoryEntries::Row HistoryEntries::row(size_t i) const {
    const Key& k = m_keys[i];
    const Rest& r = m_rest[i];
    Row row;
    row.operationDate = r.operationDate;
    row.bookingDate = k.bookingDate;
    row.amount = k.amount;
    row.id = r.id;
    row.tid = r.tid;
    row.direction = k.direction;
    row.kind = k.kind;
    row.title = r.title;
    row.titleLength = r.titleLength;
    row.counterpartyAccount = r.counterpartyAccount;
    row.counterpartyName = k.counterpartyName;
    row.ownAccount = k.ownAccount;
    row.ownAccountName = r.ownAccountName;
    return row;
}

void HistoryEntries::append(const StoredOperation& entry) {
    Row row;
    row.operationDate = entry.operationDate;
    row.bookingDate = entry.bookingDate;
    row.amount = entry.amount;
    row.id = entry.id;
    row.tid = entry.tid;
    row.direction = entry.direction;
    row.kind = entry.kind;
    append(row, {entry.counterpartyAccount, entry.counterpartyName, entry.title, entry.ownAccount});
    m_rest.back().ownAccountName = m_pool.intern(entry.ownAccountName);
}

StoredOperation HistoryEntries::at(size_t i) const {
    if (i >= size()) {
        throw std::out_of_range("no such entry");
    }
    const Row r = row(i);
    StoredOperation e;
    e.counterpartyAccount = m_pool.text(r.counterpartyAccount).toStdU16String();
    e.counterpartyName = m_pool.text(r.counterpartyName).toStdU16String();
    e.title = title(i).toStdU16String();
    e.ownAccount = m_pool.text(r.ownAccount).toStdU16String();
    e.ownAccountName = m_pool.text(r.ownAccountName).toStdU16String();
    e.operationDate = r.operationDate;
    e.bookingDate = r.bookingDate;
    e.amount = r.amount;
    e.id = r.id;
    e.tid = r.tid;
    e.direction = r.direction;
    e.kind = r.kind;
    return e;
}

void HistoryEntries::sortLikeHistoryQuery() {
    const size_t count = m_keys.size();
    // The usual files first, told without a copy of the keys: one written in the list's order,
    // or wholly oldest first (each operation after the one before it).
    bool inOrder = true;
    bool reversed = true;
    for (size_t i = 1; i < count && (inOrder || reversed); ++i) {
        const SortKey before{m_keys[i - 1].bookingDate, m_rest[i - 1].tid, 0};
        const SortKey next{m_keys[i].bookingDate, m_rest[i].tid, 1};
        inOrder = inOrder && comesFirst(before, next);
        reversed = reversed && comesFirst(next, before);
    }
    if (inOrder) {
        return;
    }
    if (reversed) {
        std::jthread rest([this] { std::reverse(m_rest.begin(), m_rest.end()); });
        std::reverse(m_keys.begin(), m_keys.end());
        return;
    }
    HugeVector<SortKey> keys(count);
    for (size_t i = 0; i < count; ++i) {
        keys[i] = {m_keys[i].bookingDate, m_rest[i].tid, static_cast<uint32_t>(i)};
    }
    if (!sortByRuns(keys)) {
        // Each half on its own core, then one merge.
        const auto middle = keys.begin() + static_cast<std::ptrdiff_t>(count / 2);
        {
            std::jthread second([&] { std::sort(middle, keys.end(), comesFirst); });
            std::sort(keys.begin(), middle, comesFirst);
        }
        std::inplace_merge(keys.begin(), middle, keys.end(), comesFirst);
    }
    // order[i]: where the row for place i comes from; applied in place, cycle by cycle.
    HugeVector<uint32_t> order(count);
    for (size_t i = 0; i < count; ++i) {
        order[i] = keys[i].index;
    }
    keys.clear();
    keys.shrink_to_fit();
    for (size_t start = 0; start < count; ++start) {
        if (order[start] == start) {
            continue;
        }
        const Key heldKey = m_keys[start];
        const Rest heldRest = m_rest[start];
        size_t place = start;
        while (order[place] != start) {
            const size_t from = order[place];
            m_keys[place] = m_keys[from];
            m_rest[place] = m_rest[from];
            order[place] = static_cast<uint32_t>(place);
            place = from;
        }
        m_keys[place] = heldKey;
        m_rest[place] = heldRest;
        order[place] = static_cast<uint32_t>(place);
    }
}
