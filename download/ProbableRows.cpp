// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbableRows.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>
#include <tuple>

#include "ProbableMatch.h"
#include "sqlite3x.h"

namespace {

size_t hashOf(const std::u16string& form) {
    if (form.empty()) {
        return 0;
    }
    const size_t hash = std::hash<std::u16string_view>{}(form);
    return hash == 0 ? 1 : hash;
}

}  // namespace

void ProbableRows::add(sqlite3x::reader& row, int first) {
    Row r;
    r.rowId = row.get_int64(first);
    r.tid = row.get_int(first + 1);
    r.direction = row.get_int(first + 2);
    // The module's amounts are 32-bit floats, never exact: compared in grosze.
    r.amount = std::llround(row.get_double(first + 3) * 100);
    r.postingDate = row.get_int64(first + 4);
    r.accountHash = hashOf(ProbableMatch::Digits(row.get_string(first + 5)));
    r.titleHash = hashOf(ProbableMatch::NormalisedTitle(row.get_string(first + 6)));
    if (r.accountHash != 0 || r.titleHash != 0) {
        m_rows.push_back(r);
    }
}

void ProbableRows::sort() {
    auto order = [](const Row& r) {
        return std::make_tuple(r.direction, r.amount, r.postingDate, r.rowId);
    };
    std::sort(m_rows.begin(), m_rows.end(),
              [&order](const Row& a, const Row& b) { return order(a) < order(b); });
    // A row reached through two keys is read twice.
    m_rows.erase(std::unique(m_rows.begin(), m_rows.end(),
                             [](const Row& a, const Row& b) { return a.rowId == b.rowId; }),
                 m_rows.end());
    m_byNumber.clear();
}

std::optional<int32_t> ProbableRows::take(const Operation& op, sqlite3x::command& texts) {
    const auto from =
        std::make_tuple(op.direction, op.amount, op.postingDate - ProbableMatch::kDistance);
    auto it =
        std::lower_bound(m_rows.begin(), m_rows.end(), from, [](const Row& r, const auto& key) {
            return std::make_tuple(r.direction, r.amount, r.postingDate) < key;
        });
    const auto within = [&op](const Row& row) {
        return row.direction == op.direction && row.amount == op.amount &&
               row.postingDate <= op.postingDate + ProbableMatch::kDistance;
    };
    // Most operations have no row of their amount near their date: their texts are not read.
    if (it == m_rows.end() || !within(*it)) {
        return std::nullopt;
    }
    const size_t account = hashOf(ProbableMatch::Digits(op.counterpartyAccount));
    const size_t title = hashOf(ProbableMatch::NormalisedTitle(op.title));
    if (account == 0 && title == 0) {
        return std::nullopt;
    }
    std::vector<Row*> alike;
    for (; it != m_rows.end() && within(*it); ++it) {
        const bool hashes =
            (account != 0 && it->accountHash == account) || (title != 0 && it->titleHash == title);
        if (!it->taken && hashes) {
            alike.push_back(&*it);
        }
    }
    std::sort(alike.begin(), alike.end(), [](const Row* a, const Row* b) {
        return std::tie(a->postingDate, a->tid) < std::tie(b->postingDate, b->tid);
    });
    for (Row* row : alike) {
        if (confirmed(*row, op, texts)) {
            row->taken = true;
            return row->tid;
        }
    }
    return std::nullopt;
}

bool ProbableRows::confirmed(const Row& row, const Operation& op, sqlite3x::command& texts) const {
    texts.bind_int64(1, row.rowId);
    sqlite3x::reader stored = texts.execute_reader();
    const bool same =
        stored.read() && ProbableMatch::SameTexts(op.counterpartyAccount, op.title,
                                                  stored.get_string(0), stored.get_string(1));
    stored.close();
    return same;
}

void ProbableRows::renumber(int32_t from, int32_t to) {
    if (m_byNumber.empty()) {
        for (size_t i = 0; i < m_rows.size(); ++i) {
            m_byNumber.emplace(m_rows[i].tid, i);
        }
    }
    const auto found = m_byNumber.find(from);
    if (found == m_byNumber.end()) {
        return;
    }
    const size_t index = found->second;
    m_byNumber.erase(found);
    m_rows[index].tid = to;
    m_byNumber.emplace(to, index);
}
