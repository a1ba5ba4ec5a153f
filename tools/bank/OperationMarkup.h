// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The markup of one operation: its item on a list page and its details page. Texts are dressed the
// way the bank's pages dress them (soft hyphens, <wbr />, hard spaces, doubled spaces, entity
// apostrophes, line breaks between tags), always in ways a reader of the pages can undo, varied per
// operation but the same for every request.

#include <random>
#include <string>

#include "BankData.h"

class OperationMarkup {
public:
    OperationMarkup(const BankOperation& operation, const BankAccount& account);

    std::string listItem(const std::string& parameters);
    std::string detailsPage();

    // "1 234,56" with the given thousands separator.
    static std::string FormatAmount(int64_t grosze, const std::string& separator);
    // 2 + 6 x 4 digits separated by spaces.
    static std::string DisplayNrb(const std::string& nrb);

private:
    std::string row(const std::string& label, const std::string& content);
    std::string amountRow(const std::string& label);
    std::string softHyphens(const std::string& text);
    std::string looseSpaces(const std::string& text);
    std::string person(const std::string& text);
    std::string accountNumber(const std::string& digits);
    std::string transferRows();
    std::string cardRows();
    bool chance(int percent);

    const BankOperation& m_op;
    const BankAccount& m_account;
    std::mt19937 m_random;
};
