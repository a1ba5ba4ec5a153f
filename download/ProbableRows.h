// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stored rows of one account that an operation may probably be (see ProbableMatch), read
// once and held in memory: matching a whole file or download job then costs one read of them,
// not a query per operation and an index that every insert would have to keep up. A row keeps
// its number, direction, amount, posting date and hashes of its compared texts; where a hash
// agrees, the row's stored texts decide.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace sqlite3x {
class command;
class reader;
}  // namespace sqlite3x

class ProbableRows {
public:
    struct Operation {
        int32_t direction = 0;
        int64_t amount = 0;  // grosze
        int64_t postingDate = 0;
        const std::u16string& counterpartyAccount;
        const std::u16string& title;
    };

    // Adds the reader's current row, whose columns from `first` on are t_id, t_tid, t_tio,
    // t_amount, t_date2, t_from_acc and t_desc.
    void add(sqlite3x::reader& row, int first);
    // Call after the last add.
    void sort();
    bool empty() const { return m_rows.empty(); }
    // The number of the first row, by posting date and then number, much like the operation; it
    // is no candidate after that. `texts` (Schema::kSelectOperationTexts) reads a row's texts.
    std::optional<int32_t> take(const Operation& op, sqlite3x::command& texts);
    // A row held here moved to another number.
    void renumber(int32_t from, int32_t to);

private:
    struct Row {
        int64_t rowId = 0;
        int64_t amount = 0;
        int64_t postingDate = 0;
        size_t accountHash = 0;  // 0: no digits, never matches
        size_t titleHash = 0;    // 0: no title, never matches
        int32_t tid = 0;
        int32_t direction = 0;
        bool taken = false;
    };
    bool confirmed(const Row& row, const Operation& op, sqlite3x::command& texts) const;

    std::vector<Row> m_rows;
    std::unordered_map<int32_t, size_t> m_byNumber;  // made at the first renumber
};
