// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The world the generated histories are told in: towns with their shops, cash machines and
// offices, employers, landlords, suppliers and people. Every company is invented (public offices
// are named as they are), so a demo or a picture of it shows no real brand. Texts are UTF-8 and
// stay within what ISO-8859-2 can show, so every page carries them whole.

#include <cstdint>
#include <span>

namespace HistoryTables {

struct Town {
    const char* name;
    const char* streets[2];  // where its cash machines stand
    const char* electricity;
    const char* taxOffice;
    const char* cityOffice;
};

// '#' in a shop's name stands for its four-digit number.
struct Shop {
    const char* name;
    int weight;
    int64_t low, high;  // grosze
};

struct Employer {
    const char* name;
    int payDay;  // 10: the tenth, for the month before; 0: the month's last working day
    int64_t low, high;
};

struct Landlord {
    const char* name;
    const char* title;  // followed by the address and the month
    int64_t low, high;
};

struct Supplier {
    const char* name;
    const char* brand;
    int64_t low, high;
};

struct Phrase {
    const char* text;
    int64_t low, high;
};

std::span<const Town> HomeTowns();
std::span<const Town> TripTowns();
std::span<const Shop> Shops();
std::span<const Employer> Employers();
std::span<const Landlord> Landlords();
std::span<const char* const> Addresses();
std::span<const Supplier> PhoneOperators();
std::span<const Supplier> InternetProviders();
std::span<const Supplier> Subscriptions();  // card payments abroad, the same each month
std::span<const char* const> TopUpOperators();
std::span<const char* const> People();
std::span<const Phrase> PaymentsToPeople();
std::span<const Phrase> PaymentsFromPeople();
std::span<const char* const> ForeignClients();
std::span<const char* const> MonthNames();  // "styczeń" .. "grudzień"

constexpr const char* kBankName = "Tavro Bank S.A.";
constexpr const char* kOwner = "Jan Testowy";
constexpr const char* kGasSupplier = "Błękitny Płomień Gaz Sp. z o.o.";
constexpr const char* kSocialInsurance = "ZAKŁAD UBEZPIECZEŃ SPOŁECZNYCH";
constexpr const char* kPaymentOperator = "Bramka Płatności Sikorka S.A.";
// The module's rules know the auction service by "QXL" in the name.
constexpr const char* kAuctionFees = "Targowisko QXL Sp. z o.o.";
constexpr const char* kAuctionSite = "Targowisko";
// Cash machine networks: the bank's own in the home town, others elsewhere and abroad.
constexpr const char* kBankCashMachines = "Tavro Bank";
constexpr const char* kOtherCashMachines = "Bankomaty Dukat";
constexpr const char* kForeignCashMachines = "Bankomaty Talar";
constexpr const char* kColleague = "Patrick O'Neil";  // whom the express transfer pays

}  // namespace HistoryTables
