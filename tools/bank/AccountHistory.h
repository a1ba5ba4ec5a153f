// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One account's generated history: exactly the asked number of operations within the asked days.
// A month of it holds the salary, the rent and the bills as their days come, then as many of the
// monthly fees as the number of operations leaves room for, and everyday card payments, cash
// and transfers between. When there are at least as many operations as the bank has kinds,
// every kind occurs. A history too thin to fill the days with months like that begins later,
// as an account opened not long ago does.

#include <random>
#include <set>
#include <string>
#include <vector>

#include "BankData.h"
#include "DataGenerator.h"
#include "OperationMaker.h"

class AccountHistory {
public:
    AccountHistory(const GeneratorSettings& settings, int accountIndex, int today, uint32_t seed);
    // Oldest first.
    std::vector<BankOperation> operations();

    // The number of kinds that every history of at least this many operations shows.
    static constexpr int kKindCount = 28;

private:
    using Operations = std::vector<BankOperation>;
    static int FirstDay(int count, int days, int today);
    static int Level(int count, int firstDay, int today);
    Operations monthly();
    void addMonth(Operations& ops, int year, int month);
    Operations onceInAWhile(const Operations& present, bool compact);
    void addEveryday(Operations& ops, int count);
    int randomDay();
    int monthEnd(int day) const;    // the last working day of `day`'s month, if in the history
    int monthStart(int day) const;  // the first working day of `day`'s month, if in the history
    int taxDay();

    int m_count;
    int m_today;
    int m_firstDay;
    int m_level;  // how many monthly payments the history has room for, 0..3
    std::mt19937 m_random;
    OperationMaker m_maker;
};
