// SPDX-License-Identifier: GPL-3.0-or-later
// The operations that happen now and then: a deposit ending, a transfer cancelled, a tax paid.
#include "OperationMaker.h"

#include <algorithm>

#include "CivilDate.h"
#include "DataGenerator.h"
#include "KindTexts.h"

using namespace HistoryTables;

std::vector<BankOperation> OperationMaker::termDeposit(int day, bool full) {
    static constexpr int kTerms[] = {1, 3, 6};
    day = bookingDay(day);
    const int months = kTerms[m_random() % std::size(kTerms)];
    const int64_t capital = wholeZloty(500000, 3000000) / 50000 * 50000;
    const int percent10 = 40 + static_cast<int>(m_random() % 16);  // 4,0 .. 5,5 % a year
    const int start = CivilDate::MonthsBefore(day, months);
    const int64_t interest =
        std::max<int64_t>(1, capital * percent10 * (day - start) / (1000 * 365));
    const int64_t tax = std::max<int64_t>(1, (interest * 19 + 50) / 100);
    const std::string number = digits(7);
    const std::string name = "Lokata " + std::to_string(months) + "M nr " + number;
    std::vector<BankOperation> ops;
    if (full && start >= m_firstDay) {
        ops.push_back(transfer(KindTexts::kDepositStart, false, start, name,
                               "Założenie lokaty nr " + number + ", " +
                                   std::to_string(percent10 / 10) + "," +
                                   std::to_string(percent10 % 10) + "% w skali roku",
                               capital));
        ops.back().counterpartyAccount =
            DataGenerator::MakeNrb(m_routing, "7700" + number + "00000");
    }
    BankOperation end = transfer(KindTexts::kDepositEnd, true, day, name,
                                 "Zwrot kapitału lokaty nr " + number, capital);
    end.counterpartyAccount = DataGenerator::MakeNrb(m_routing, "7700" + number + "00000");
    ops.push_back(end);
    BankOperation gain =
        bankFee(KindTexts::kDepositInterest, day, "Odsetki od lokaty nr " + number, interest);
    gain.negative = false;
    ops.push_back(gain);
    ops.push_back(
        bankFee(KindTexts::kInterestTax, day, "Podatek od odsetek, lokata nr " + number, tax));
    return ops;
}

// The transfer and, the same or the next working day, the bank giving the money back.
std::vector<BankOperation> OperationMaker::cancelledTransfer(int day) {
    BankOperation sent = paymentToPerson(day);
    BankOperation back = sent;
    back.kindText = KindTexts::kCancelled;
    back.negative = chance(30);  // this bank's list sometimes shows the return as money out
    if (back.operationDay < m_today && chance(50)) {
        back.operationDay = bookingDay(back.operationDay + 1);
        back.postingDay = back.operationDay;
    }
    return {sent, back};
}

std::vector<BankOperation> OperationMaker::foreignCashMachine(int day, bool balanceCheck) {
    const Town& town = shoppingTown();
    const std::string machine = cashMachine(kForeignCashMachines, town);
    std::vector<BankOperation> ops;
    if (balanceCheck) {
        ops.push_back(
            bankFee(KindTexts::kBalanceFee, day, "Sprawdzenie salda w bankomacie " + machine, 200));
        ops.back().operationDay = ops.back().postingDay = day;
    }
    const int64_t cash = 5000 * (1 + static_cast<int64_t>(m_random() % 8));
    ops.push_back(card(KindTexts::kWithdrawal, false, day, machine, m_home.debitCard, cash));
    ops.push_back(bankFee(KindTexts::kCashMachineFee, day,
                          "Prowizja za wypłatę z bankomatu " + machine,
                          std::max<int64_t>(500, cash * 2 / 100)));
    ops.back().operationDay = ops.back().postingDay = day;
    return ops;
}

std::vector<BankOperation> OperationMaker::expressTransfer(int day, bool full) {
    std::vector<BankOperation> ops;
    BankOperation sent = paymentToPerson(day);
    sent.counterpartyName = kColleague;
    sent.counterpartyAccount = accountOf(kColleague);
    if (full) {
        sent.title += ", przelew natychmiastowy";
        ops.push_back(sent);
    }
    ops.push_back(bankFee(KindTexts::kExternalTransferFee, day,
                          "Opłata za przelew natychmiastowy, odbiorca: " + sent.counterpartyName,
                          500));
    return ops;
}

std::vector<BankOperation> OperationMaker::internalTransfer(int day, bool full) {
    std::vector<BankOperation> ops;
    BankOperation sent = paymentToPerson(day);
    sent.counterpartyAccount = DataGenerator::MakeNrb(m_routing, "00" + digits(14));
    if (full) {
        ops.push_back(sent);
    }
    ops.push_back(bankFee(
        KindTexts::kInternalTransferFee, day,
        "Opłata za przelew zlecony telefonicznie, odbiorca: " + sent.counterpartyName, 200));
    return ops;
}

std::vector<BankOperation> OperationMaker::interestCorrection(int day) {
    BankOperation added = capitalisation(day);
    BankOperation taken =
        bankFee(KindTexts::kInterestCorrection, day, "Korekta odsetek za " + monthText(day),
                std::max<int64_t>(1, added.grosze / 3));
    return {added, taken};
}

BankOperation OperationMaker::pinChange(int day) {
    return bankFee(KindTexts::kPinFee, day, "Zmiana PIN karty " + m_home.debitCard, 500);
}

BankOperation OperationMaker::cashDeposit(int day) {
    BankOperation op = bankFee(KindTexts::kCashDeposit, day,
                               "Wpłata gotówki, wpłatomat " + cashMachine(kBankName, *m_home.town),
                               roundTo(between(10000, 300000), 1000));
    op.negative = false;
    return op;
}

BankOperation OperationMaker::incomeTax(int day) {
    int year = 0, month = 0, date = 0;
    CivilDate::ToCivil(day, year, month, date);
    return transfer(
        KindTexts::kTax, false, day, m_home.town->taxOffice,
        "PIT-36 za " + std::to_string(month <= 4 ? year - 1 : year) + ", dopłata podatku",
        wholeZloty(10000, 250000));
}

BankOperation OperationMaker::stampDuty(int day) {
    static constexpr const char* kFor[] = {"za pełnomocnictwo", "za wydanie zaświadczenia",
                                           "za wydanie zezwolenia"};
    static constexpr int64_t kAmounts[] = {1700, 1700, 8200};
    const size_t which = m_random() % std::size(kFor);
    return transfer(KindTexts::kStampDuty, false, day, m_home.town->cityOffice,
                    std::string("Opłata skarbowa ") + kFor[which], kAmounts[which]);
}

BankOperation OperationMaker::foreignInvoice(int day, bool longTitle) {
    const std::string invoice =
        "FV/" + std::to_string(1 + m_random() % 12) + "/" + monthNumber(day).substr(3);
    std::string title = "Zapłata za fakturę " + invoice;
    if (longTitle) {
        title = "Zapłata za fakturę VAT nr " + invoice + " z dnia " + CivilDate::Format(day - 14) +
                " za usługi tłumaczeniowe świadczone w poprzednim miesiącu, zgodnie z umową nr "
                "17/2024 z dnia 02-01-2024 oraz aneksem nr 2 do tej umowy";
    }
    return transfer(KindTexts::kForeignInvoice, true, day, pick(ForeignClients()), title,
                    between(150000, 900000));
}

BankOperation OperationMaker::creditCardTransfer(int day) {
    BankOperation op =
        card(KindTexts::kCreditCardTransfer, true, day, "Bankowość internetowa Tavro Bank",
             m_home.creditCard, wholeZloty(30000, 300000) / 1000 * 1000);
    op.title = "Przelew z karty kredytowej na rachunek";
    return op;
}

BankOperation OperationMaker::bonus(int day) {
    BankOperation op =
        bankFee(KindTexts::kOther, day, "Premia w programie \"Polecam Tavro\"", 10000);
    op.negative = false;
    return op;
}
