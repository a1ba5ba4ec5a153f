#pragma once
// The databases the benchmarks time against, filled the way the download stores operations:
// one transaction, the program's own insert statement, texts as UTF-16.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace BenchDatabase {

// One row of `transactions`; the fields follow the insert statement's parameters.
struct Row {
    std::u16string counterpartyAccount;
    std::u16string counterpartyName;
    std::u16string title;
    double amount = 0.0;
    int32_t tid = 0;
    int32_t direction = 0;
    int64_t operationDate = 0;
    int64_t bookingDate = 0;
    std::u16string ownAccount;
    int32_t kind = 0;
};

struct Account {
    std::u16string number;
    std::u16string name;
};

// Creates the database file with both tables and the accounts, then stores `operations` rows,
// the i-th from row(i).
void Fill(const std::filesystem::path& file, const std::vector<Account>& accounts,
          int64_t operations, const std::function<Row(int64_t)>& row);

// Text from the benchmarks' own ASCII and UTF-8 literals.
std::u16string U16(const std::string& utf8);

}  // namespace BenchDatabase
