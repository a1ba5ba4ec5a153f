// SPDX-License-Identifier: GPL-3.0-or-later
// The operations that fill the days between: shopping, cash, money to and from people.
#include "OperationMaker.h"

#include <algorithm>

#include "CivilDate.h"
#include "KindTexts.h"

using namespace HistoryTables;

BankOperation OperationMaker::cardPayment(int day) {
    const auto shops = Shops();
    int total = 0;
    for (const Shop& shop : shops) {
        total += shop.weight;
    }
    int roll = static_cast<int>(m_random() % static_cast<uint32_t>(total));
    size_t at = 0;
    while (roll >= shops[at].weight) {
        roll -= shops[at++].weight;
    }
    const Shop& shop = shops[at];
    BankOperation op = card(KindTexts::kCardPayment, false, day, placeIn(shoppingTown(), shop.name),
                            m_home.debitCard, between(shop.low, shop.high));
    if (chance(15)) {
        op.title = "Płatność kartą " + CivilDate::Format(day) + " " + op.place;
    }
    return op;
}

BankOperation OperationMaker::withdrawal(int day) {
    static constexpr int64_t kCash[] = {5000, 10000, 10000, 15000, 20000, 20000, 30000, 50000};
    const Town& town = shoppingTown();
    return card(KindTexts::kWithdrawal, false, day,
                cashMachine(&town == m_home.town ? kBankCashMachines : kOtherCashMachines, town),
                m_home.debitCard, kCash[m_random() % std::size(kCash)]);
}

BankOperation OperationMaker::paymentToPerson(int day) {
    const Phrase& what = pick(PaymentsToPeople());
    const int64_t amount =
        chance(60) ? wholeZloty(what.low, what.high) : between(what.low, what.high);
    return transfer(KindTexts::kOutgoing, false, day, pick(People()), what.text, amount);
}

BankOperation OperationMaker::paymentFromPerson(int day) {
    const Phrase& what = pick(PaymentsFromPeople());
    const int64_t amount =
        chance(60) ? wholeZloty(what.low, what.high) : between(what.low, what.high);
    return transfer(KindTexts::kIncoming, true, day, pick(People()), what.text, amount);
}

BankOperation OperationMaker::onlineShop(int day) {
    return transfer(KindTexts::kOutgoing, false, day, kPaymentOperator,
                    "Zamówienie nr " + digits(8) + " w serwisie " + kAuctionSite,
                    between(2500, 60000));
}

BankOperation OperationMaker::refund(int day) {
    return transfer(KindTexts::kIncoming, true, day, kPaymentOperator,
                    "Zwrot środków, zamówienie nr " + digits(8), between(2500, 30000));
}

BankOperation OperationMaker::topUp(int day) {
    static constexpr int64_t kAmounts[] = {2500, 3000, 5000, 5000, 10000};
    return transfer(KindTexts::kOutgoing, false, day, m_home.topUpOperator,
                    "Doładowanie telefonu " + m_home.prepaidNumber,
                    kAmounts[m_random() % std::size(kAmounts)]);
}

BankOperation OperationMaker::auctionFee(int day) {
    return transfer(KindTexts::kOutgoing, false, day, kAuctionFees,
                    std::string("Opłaty za sprzedaż w serwisie ") + kAuctionSite + ", login " +
                        m_home.auctionLogin,
                    between(300, 6000));
}

// What the salary leaves after the rent and a month's spending goes to savings.
BankOperation OperationMaker::savings(int day) {
    const int64_t left = m_home.salary - m_home.rent - between(150000, 250000);
    BankOperation op = transfer(KindTexts::kOutgoing, false, day, kOwner,
                                "Przelew środków własnych na konto oszczędnościowe",
                                roundTo(std::max(left, m_home.salary / 5), 10000));
    op.counterpartyAccount = accountOf(std::string(kOwner) + m_home.town->name);
    return op;
}
