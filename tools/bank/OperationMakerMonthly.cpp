// SPDX-License-Identifier: GPL-3.0-or-later
// The operations that come back every month.
#include "OperationMaker.h"

#include <cmath>

#include "CivilDate.h"
#include "KindTexts.h"

using namespace HistoryTables;

namespace {
// Heating makes the winter bills larger: January's factor is the highest, July's the lowest.
double season(int day, double swing) {
    int year = 0, month = 0, date = 0;
    CivilDate::ToCivil(day, year, month, date);
    return 1.0 + swing * std::cos((month - 1) * 3.14159265358979 / 6.0);
}
}  // namespace

BankOperation OperationMaker::salary(int day) {
    const bool forMonthBefore = m_home.employer->payDay != 0;
    int64_t amount = m_home.salary;
    if (chance(40)) {
        amount = amount * (97 + static_cast<int64_t>(m_random() % 10)) / 100 +
                 static_cast<int64_t>(m_random() % 100);
    }
    return transfer(KindTexts::kIncoming, true, day, m_home.employer->name,
                    "Wynagrodzenie za " + monthText(day, forMonthBefore ? 1 : 0), amount);
}

BankOperation OperationMaker::rent(int day) {
    return transfer(
        KindTexts::kStandingOrder, false, day, m_home.landlord->name,
        std::string(m_home.landlord->title) + " " + m_home.address + ", " + monthText(day),
        m_home.rent);
}

BankOperation OperationMaker::phoneBill(int day) {
    const int64_t extra = chance(30) ? between(200, 2500) : 0;
    return transfer(KindTexts::kOutgoing, false, day, m_home.phone->name,
                    "Abonament " + m_home.phoneNumber + ", faktura F/" + digits(8) + "/" +
                        monthNumber(day, 1).substr(0, 2) + "/" + monthNumber(day, 1).substr(5),
                    m_home.phoneBill + extra);
}

BankOperation OperationMaker::internet(int day) {
    return transfer(
        KindTexts::kOutgoing, false, day, m_home.internet->name,
        "Internet, nr klienta " + m_home.customerNumber.substr(2) + ", " + monthText(day),
        m_home.internet->low);
}

BankOperation OperationMaker::electricity(int day) {
    const auto amount =
        static_cast<int64_t>(static_cast<double>(m_home.electricityBill) * season(day, 0.2));
    return transfer(KindTexts::kDirectDebit, false, day, m_home.town->electricity,
                    "Energia elektryczna, faktura nr P/" + m_home.customerNumber + "/" + digits(4) +
                        "/" + monthNumber(day).substr(5),
                    amount + static_cast<int64_t>(m_random() % 3000));
}

BankOperation OperationMaker::gas(int day) {
    const auto amount =
        static_cast<int64_t>(static_cast<double>(m_home.gasBill) * season(day, 0.75));
    return transfer(
        KindTexts::kOutgoing, false, day, kGasSupplier,
        "Gaz, nr klienta " + m_home.customerNumber + ", rozliczenie za " + monthText(day, 1),
        amount + static_cast<int64_t>(m_random() % 2000));
}

BankOperation OperationMaker::subscription(int day) {
    return card(KindTexts::kCardPayment, false, day, m_home.subscription->name, m_home.debitCard,
                m_home.subscription->low);
}

BankOperation OperationMaker::cardFee(int day) {
    return bankFee(KindTexts::kCardFee, day,
                   "Opłata za kartę " + m_home.debitCard + " za " + monthText(day, 1), 700);
}

BankOperation OperationMaker::smsFee(int day) {
    const int messages = 4 + static_cast<int>(m_random() % 30);
    return bankFee(
        KindTexts::kSmsFee, day,
        "Powiadomienia SMS za " + monthText(day) + ", " + std::to_string(messages) + " szt.",
        20 * messages);
}

BankOperation OperationMaker::directDebitFee(int day) {
    return bankFee(KindTexts::kDirectDebitFee, day,
                   "Obsługa polecenia zapłaty za " + monthText(day), 200);
}

BankOperation OperationMaker::creditCardRepayment(int day) {
    return bankFee(KindTexts::kCreditCardRepayment, day,
                   "Spłata karty kredytowej " + m_home.creditCard, between(15000, 250000));
}

BankOperation OperationMaker::socialInsurance(int day) {
    return transfer(KindTexts::kSocialInsurance, false, day, kSocialInsurance,
                    "Składki ZUS za " + monthNumber(day, 1) + ", działalność gospodarcza",
                    m_home.socialInsurance);
}

BankOperation OperationMaker::capitalisation(int day) {
    BankOperation op = bankFee(KindTexts::kCapitalisation, day,
                               "Kapitalizacja odsetek za " + monthText(day), between(5, 1500));
    op.negative = false;
    return op;
}
