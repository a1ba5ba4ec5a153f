// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the simulated bank holds: its customer's accounts and their operations. Texts are UTF-8;
// the site converts them to ISO-8859-2 when it serves a page.

#include <cstdint>
#include <string>
#include <vector>

struct BankOperation {
    int32_t tid = 0;       // the bank's operation number
    int operationDay = 0;  // calendar day, days since 1970-01-01
    int postingDay = 0;
    int64_t grosze = 0;               // amount as the details page shows it, never negative
    bool negative = false;            // the list marks the item as money out
    std::string kindText;             // the bank's own kind, upper case
    std::string counterpartyAccount;  // digits, possibly grouped with spaces
    std::string counterpartyName;
    std::string title;
    std::string cardNumber;  // card operations only
    std::string place;       // card operations only
};

struct BankAccount {
    std::string nrb;                        // 26 digits
    std::string name;                       // shown beside the number
    std::vector<BankOperation> operations;  // newest first, as the lists show them
};

struct BankData {
    std::string user;
    std::string password;
    std::vector<BankAccount> accounts;
};
