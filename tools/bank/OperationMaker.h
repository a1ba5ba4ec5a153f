// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes the operations of one household's account: what recurs each month, what happens once
// in a while (a term deposit ending, a transfer cancelled) and what fills the days between.
// Every operation is booked on `day`; transfers move to working days, card payments are posted
// a day or two later.

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "BankData.h"
#include "Household.h"

class OperationMaker {
public:
    // `seed` is the whole history's, so that its accounts' households differ.
    OperationMaker(std::mt19937& random, uint32_t seed, int accountIndex, int routing, int firstDay,
                   int today);

    const Household& household() const { return m_home; }
    // A working day near `day` inside the history's days, for transfers.
    int bookingDay(int day) const;

    // Monthly, booked in the month of `day`.
    BankOperation salary(int day);
    BankOperation rent(int day);
    BankOperation phoneBill(int day);
    BankOperation internet(int day);
    BankOperation electricity(int day);
    BankOperation gas(int day);
    BankOperation subscription(int day);
    BankOperation cardFee(int day);
    BankOperation smsFee(int day);
    BankOperation directDebitFee(int day);
    BankOperation creditCardRepayment(int day);
    BankOperation socialInsurance(int day);
    BankOperation capitalisation(int day);

    // Now and then; `full` adds what goes with the operation but is not needed to show it.
    std::vector<BankOperation> termDeposit(int day, bool full);
    std::vector<BankOperation> cancelledTransfer(int day);
    std::vector<BankOperation> foreignCashMachine(int day, bool balanceCheck);
    std::vector<BankOperation> expressTransfer(int day, bool full);
    std::vector<BankOperation> internalTransfer(int day, bool full);
    std::vector<BankOperation> interestCorrection(int day);
    BankOperation pinChange(int day);
    BankOperation cashDeposit(int day);
    BankOperation incomeTax(int day);
    BankOperation stampDuty(int day);
    BankOperation foreignInvoice(int day, bool longTitle);
    BankOperation creditCardTransfer(int day);
    BankOperation bonus(int day);

    // Everyday.
    BankOperation cardPayment(int day);
    BankOperation withdrawal(int day);
    BankOperation paymentToPerson(int day);
    BankOperation paymentFromPerson(int day);
    BankOperation onlineShop(int day);
    BankOperation refund(int day);
    BankOperation topUp(int day);
    BankOperation auctionFee(int day);
    BankOperation savings(int day);

private:
    void chooseHousehold(uint32_t seed, int accountIndex);
    BankOperation transfer(const char* kind, bool moneyIn, int day, const std::string& name,
                           const std::string& title, int64_t grosze);
    BankOperation bankFee(const char* kind, int day, const std::string& title, int64_t grosze);
    BankOperation card(const char* kind, bool moneyIn, int day, const std::string& place,
                       const std::string& cardNumber, int64_t grosze);
    std::string accountOf(const std::string& name) const;
    std::string placeIn(const HistoryTables::Town& town, const std::string& shop);
    const HistoryTables::Town& shoppingTown();
    std::string cashMachine(const char* network, const HistoryTables::Town& town);
    std::string monthText(int day, int monthsBack = 0) const;    // "listopad 2026"
    std::string monthNumber(int day, int monthsBack = 0) const;  // "11/2026"
    std::string digits(int count);
    int64_t between(int64_t low, int64_t high);  // log-even, in grosze
    int64_t wholeZloty(int64_t low, int64_t high);
    static int64_t roundTo(int64_t grosze, int64_t step);
    bool chance(int percent);
    template <typename T>
    const T& pick(std::span<const T> list) {
        return list[m_random() % list.size()];
    }

    std::mt19937& m_random;
    Household m_home;
    int m_routing;
    int m_firstDay;
    int m_today;
    std::string m_bankAccount;  // the bank's own, on its fees
};
