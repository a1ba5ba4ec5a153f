// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationMaker.h"

#include <algorithm>
#include <cmath>

#include "BankCalendar.h"
#include "CivilDate.h"
#include "DataGenerator.h"
#include "KindTexts.h"

using namespace HistoryTables;

namespace {
// Routing numbers of the banks where the counterparties keep their accounts.
constexpr int kRoutings[] = {10201026, 11402004, 10501445, 12401037, 10901014, 11602202};
// Routing number of the social insurance's payment accounts.
constexpr int kSocialInsuranceRouting = 60000002;

uint64_t hashOf(const std::string& text) {
    uint64_t hash = 1469598103934665603ULL;  // FNV-1a: the same numbers on every machine
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

std::string twoDigits(int value) {
    return std::string(1, char('0' + value / 10 % 10)) + char('0' + value % 10);
}

}  // namespace

// At least one step, so that a small sum never rounds to nothing.
int64_t OperationMaker::roundTo(int64_t grosze, int64_t step) {
    return std::max(step, (grosze + step / 2) / step * step);
}

OperationMaker::OperationMaker(std::mt19937& random, uint32_t seed, int accountIndex, int routing,
                               int firstDay, int today)
    : m_random(random), m_routing(routing), m_firstDay(firstDay), m_today(today) {
    m_bankAccount = DataGenerator::MakeNrb(routing, "0000000000000001");
    chooseHousehold(seed, accountIndex);
}

// Neighbouring accounts of one seed live in different towns and work for different employers.
void OperationMaker::chooseHousehold(uint32_t seed, int accountIndex) {
    const auto nth = [&](size_t size, uint32_t spread) {
        return (seed * spread + static_cast<uint32_t>(accountIndex)) % size;
    };
    const auto towns = HomeTowns();
    m_home.town = &towns[nth(towns.size(), 1)];
    const auto employers = Employers();
    m_home.employer = &employers[nth(employers.size(), 7)];
    m_home.salary = between(m_home.employer->low, m_home.employer->high);
    const auto landlords = Landlords();
    m_home.landlord = &landlords[nth(landlords.size(), 3)];
    m_home.address = pick(Addresses());
    m_home.rent = between(m_home.landlord->low, m_home.landlord->high);
    if (m_home.rent > 100000) {
        m_home.rent = roundTo(m_home.rent, 5000);  // a private landlord asks for a round sum
    }
    m_home.rentDay = chance(50) ? 5 : 10;
    m_home.phone = &pick(PhoneOperators());
    m_home.phoneNumber =
        std::string(chance(50) ? "6" : "5") + digits(2) + " " + digits(3) + " " + digits(3);
    m_home.prepaidNumber = std::string("7") + digits(2) + " " + digits(3) + " " + digits(3);
    m_home.topUpOperator = pick(TopUpOperators());
    m_home.phoneBill = between(m_home.phone->low, m_home.phone->high) / 100 * 100 - 1;
    m_home.internet = &pick(InternetProviders());
    m_home.subscription = &pick(Subscriptions());
    m_home.subscriptionDay = 1 + static_cast<int>(m_random() % 28);
    m_home.electricityParity = static_cast<int>(m_random() % 2);
    m_home.electricityBill = between(14000, 26000);
    m_home.gasBill = between(12000, 22000);
    m_home.customerNumber = digits(10);
    m_home.debitCard = std::string("4") + digits(5) + "******" + digits(4);
    m_home.creditCard = std::string("5") + digits(5) + "******" + digits(4);
    m_home.socialInsurance = chance(50) ? 177396 : 86941;
    m_home.auctionLogin = chance(50) ? "jan_testowy" : "janek.t" + digits(2);
}

int OperationMaker::bookingDay(int day) const {
    int booked = BankCalendar::NextWorkingDay(day);
    if (booked > m_today) {
        booked = BankCalendar::PreviousWorkingDay(day);
    }
    return booked < m_firstDay ? std::clamp(day, m_firstDay, m_today) : booked;
}

std::string OperationMaker::digits(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text.push_back(static_cast<char>('0' + m_random() % 10));
    }
    return text;
}

int64_t OperationMaker::between(int64_t low, int64_t high) {
    if (high <= low) {
        return low;
    }
    const double u = std::uniform_real_distribution<double>(0.0, 1.0)(m_random);
    const auto grosze = static_cast<int64_t>(
        std::llround(static_cast<double>(low) * std::pow(static_cast<double>(high) / low, u)));
    if (grosze > 500 && chance(25)) {
        return grosze / 100 * 100 + 99;  // prices ending in ,99
    }
    return std::clamp<int64_t>(grosze, low, high);
}

int64_t OperationMaker::wholeZloty(int64_t low, int64_t high) {
    return roundTo(between(low, high), 100);
}

bool OperationMaker::chance(int percent) {
    return static_cast<int>(m_random() % 100) < percent;
}

std::string OperationMaker::monthText(int day, int monthsBack) const {
    int year = 0, month = 0, date = 0;
    CivilDate::ToCivil(CivilDate::MonthsBefore(day, monthsBack), year, month, date);
    return std::string(MonthNames()[month - 1]) + " " + std::to_string(year);
}

std::string OperationMaker::monthNumber(int day, int monthsBack) const {
    int year = 0, month = 0, date = 0;
    CivilDate::ToCivil(CivilDate::MonthsBefore(day, monthsBack), year, month, date);
    return twoDigits(month) + "/" + std::to_string(year);
}

// The same name always has the same account number.
std::string OperationMaker::accountOf(const std::string& name) const {
    const uint64_t hash = hashOf(name);
    std::string rest = std::to_string(hash % 10000000000000000ULL);
    rest.insert(0, 16 - rest.size(), '0');
    const int routing = name == kSocialInsurance ? kSocialInsuranceRouting
                                                 : kRoutings[(hash >> 56) % std::size(kRoutings)];
    return DataGenerator::MakeNrb(routing, rest);
}

BankOperation OperationMaker::transfer(const char* kind, bool moneyIn, int day,
                                       const std::string& name, const std::string& title,
                                       int64_t grosze) {
    BankOperation op;
    op.kindText = kind;
    op.negative = !moneyIn;
    op.operationDay = bookingDay(day);
    op.postingDay = op.operationDay;
    op.grosze = grosze;
    op.counterpartyName = name;
    op.counterpartyAccount = accountOf(name);
    op.title = title;
    return op;
}

BankOperation OperationMaker::bankFee(const char* kind, int day, const std::string& title,
                                      int64_t grosze) {
    BankOperation op = transfer(kind, false, day, kBankName, title, grosze);
    op.counterpartyAccount = m_bankAccount;
    return op;
}

BankOperation OperationMaker::card(const char* kind, bool moneyIn, int day,
                                   const std::string& place, const std::string& cardNumber,
                                   int64_t grosze) {
    BankOperation op;
    op.kindText = kind;
    op.negative = !moneyIn;
    op.operationDay = day;
    const int posted = BankCalendar::NextWorkingDay(day + 1 + static_cast<int>(m_random() % 2));
    op.postingDay = std::min(m_today, posted);
    op.grosze = grosze;
    op.cardNumber = cardNumber;
    op.place = place;
    return op;
}

const Town& OperationMaker::shoppingTown() {
    return chance(85) ? *m_home.town : pick(TripTowns());
}

// A shop's number stays the same for the town, as a real shop's does.
std::string OperationMaker::placeIn(const Town& town, const std::string& shop) {
    std::string name = shop;
    const size_t mark = name.find('#');
    if (mark != std::string::npos) {
        const uint64_t hash = hashOf(shop + town.name + std::to_string(m_random() % 2));
        name.replace(mark, 1, std::to_string(1000 + hash % 9000));
    }
    return name + " " + town.name;
}

std::string OperationMaker::cashMachine(const char* network, const Town& town) {
    return std::string(network) + " " + town.name + " " + town.streets[m_random() % 2];
}
