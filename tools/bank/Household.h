// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Who keeps one generated account and what recurs in it: where they live and shop, who pays
// them, whom they pay each month and how much.

#include <cstdint>
#include <string>

#include "HistoryTables.h"

struct Household {
    const HistoryTables::Town* town = nullptr;
    const HistoryTables::Employer* employer = nullptr;
    int64_t salary = 0;
    const HistoryTables::Landlord* landlord = nullptr;
    std::string address;
    int64_t rent = 0;
    int rentDay = 10;
    const HistoryTables::Supplier* phone = nullptr;
    std::string phoneNumber;  // "600 123 456"
    int64_t phoneBill = 0;
    std::string prepaidNumber;  // a phone in the family that is topped up
    const char* topUpOperator = nullptr;
    const HistoryTables::Supplier* internet = nullptr;
    const HistoryTables::Supplier* subscription = nullptr;
    int subscriptionDay = 1;
    int electricityParity = 0;  // months whose number % 2 is this get the electricity bill
    int64_t electricityBill = 0;
    int64_t gasBill = 0;
    std::string customerNumber;  // on the utilities' invoices
    std::string debitCard;       // "4xxxxx******xxxx"
    std::string creditCard;
    int64_t socialInsurance = 0;
    std::string auctionLogin;
};
