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

// Heating makes the winter bills larger: January's factor is the highest, July's the lowest.
double season(int day, double swing) {
    int year = 0, month = 0, date = 0;
    CivilDate::ToCivil(day, year, month, date);
    return 1.0 + swing * std::cos((month - 1) * 3.14159265358979 / 6.0);
}

int64_t roundTo(int64_t grosze, int64_t step) {
    return std::max(step, (grosze + step / 2) / step * step);
}
}  // namespace

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
    m_home.prepaidNumber = "7" + digits(2) + " " + digits(3) + " " + digits(3);
    m_home.topUpOperator = pick(TopUpOperators());
    m_home.phoneBill = between(m_home.phone->low, m_home.phone->high) / 100 * 100 - 1;
    m_home.internet = &pick(InternetProviders());
    m_home.subscription = &pick(Subscriptions());
    m_home.subscriptionDay = 1 + static_cast<int>(m_random() % 28);
    m_home.electricityParity = static_cast<int>(m_random() % 2);
    m_home.electricityBill = between(14000, 26000);
    m_home.gasBill = between(12000, 22000);
    m_home.customerNumber = digits(10);
    m_home.debitCard = "4" + digits(5) + "******" + digits(4);
    m_home.creditCard = "5" + digits(5) + "******" + digits(4);
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

// Monthly.

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

// Now and then.

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
    const std::string machine = cashMachine("Euronet", town);
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
                          "Opłata za przelew Express Elixir, odbiorca: " + sent.counterpartyName,
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

// Everyday.

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
                cashMachine(&town == m_home.town ? "Tavro Bank" : "Planet Cash", town),
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
                    "Zamówienie nr " + digits(8) + " allegro.pl", between(2500, 60000));
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
    return transfer(
        KindTexts::kOutgoing, false, day, chance(70) ? kAuctionFees : "BLUE MEDIA dla QXL",
        "Opłaty za sprzedaż na Allegro, login " + m_home.auctionLogin, between(300, 6000));
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
