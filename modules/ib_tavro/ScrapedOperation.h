// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One operation as read from its details page (texts in Windows-1250).

#include <cstdint>
#include <string>

struct ScrapedOperation {
    int32_t direction = 0;  // 1 money in, 0 money out
    std::string number;
    std::string operationDate;  // dd-mm-yyyy
    std::string postingDate;
    std::string account;  // counterparty account, or the card number for card operations
    std::string name;     // counterparty name, or the module's label for the kind
    std::string title;
    std::string amount;  // with the list's sign prefixed
    std::string cardNumber;
    std::string place;
    std::string kindText;
    int32_t kind = 0;
};
