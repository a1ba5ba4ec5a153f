// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccountHistory.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "BankCalendar.h"
#include "CivilDate.h"
#include "HistoryTables.h"
#include "KindTexts.h"

namespace {
constexpr double kDaysInMonth = 30.44;
// Operations a month below which the history starts later rather than thin out.
constexpr double kLeanestMonth = 7.0;
// About as many operations as the kinds that the monthly ones leave out take.
constexpr int kOnceInAWhile = 30;

// An operation's kind, and for outgoing transfers whether it tops up a phone.
std::string kindOf(const BankOperation& op) {
    const bool topUp = op.counterpartyName.find("BLUE MEDIA") != std::string::npos ||
                       op.counterpartyName.find("DOLADOWANIA") != std::string::npos;
    return topUp ? "top-up" : op.kindText;
}

void append(std::vector<BankOperation>& to, std::vector<BankOperation> from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// Operations left for the months once the well-known kinds have had theirs.
int monthlyShare(int count) {
    return std::max(0, count - (count >= AccountHistory::kKindCount ? kOnceInAWhile : 0));
}

double perMonth(int count, int days) {
    return monthlyShare(count) / (days / kDaysInMonth);
}
}  // namespace

int AccountHistory::FirstDay(int count, int days, int today) {
    days = std::max(1, days);
    if (perMonth(count, days) >= kLeanestMonth) {
        return today - days + 1;
    }
    const int needed = static_cast<int>(monthlyShare(count) / kLeanestMonth * kDaysInMonth);
    return today - std::clamp(needed, std::min(days, 14), days) + 1;
}

int AccountHistory::Level(int count, int firstDay, int today) {
    const double rate = perMonth(count, today - firstDay + 1);
    return rate >= 20 ? 3 : rate >= 14 ? 2 : rate >= 8 ? 1 : 0;
}

AccountHistory::AccountHistory(const GeneratorSettings& settings, int accountIndex, int today,
                               uint32_t seed)
    : m_count(std::max(0, settings.operations)),
      m_today(today),
      m_firstDay(FirstDay(m_count, settings.days, today)),
      m_level(Level(m_count, m_firstDay, today)),
      m_random(seed),
      m_maker(m_random, settings.seed, accountIndex, settings.routing, m_firstDay, today) {}

std::vector<BankOperation> AccountHistory::operations() {
    const Operations regular = monthly();
    const bool everyKind = m_count >= kKindCount;
    const size_t count = static_cast<size_t>(m_count);
    Operations rare;
    size_t dropped = regular.size() > count && !everyKind ? regular.size() - count : 0;
    for (bool compact = false; everyKind;) {
        rare = onceInAWhile(
            Operations(regular.begin() + static_cast<ptrdiff_t>(dropped), regular.end()), compact);
        const size_t total = regular.size() - dropped + rare.size();
        if (total <= count) {
            break;
        }
        if (dropped < regular.size()) {
            // The oldest months go first: the account was opened later.
            dropped = std::min(regular.size(), dropped + (total - count));
        } else if (!compact) {
            compact = true;
        } else {
            break;
        }
    }
    Operations ops(regular.begin() + static_cast<ptrdiff_t>(dropped), regular.end());
    append(ops, std::move(rare));
    ops.resize(std::min(ops.size(), count));
    addEveryday(ops, static_cast<int>(count - ops.size()));
    std::stable_sort(ops.begin(), ops.end(), [](const BankOperation& a, const BankOperation& b) {
        return a.operationDay < b.operationDay;
    });
    return ops;
}

std::vector<BankOperation> AccountHistory::monthly() {
    int year = 0, month = 0, day = 0;
    CivilDate::ToCivil(m_firstDay, year, month, day);
    int lastYear = 0, lastMonth = 0;
    CivilDate::ToCivil(m_today, lastYear, lastMonth, day);
    Operations ops;
    while (year * 12 + month <= lastYear * 12 + lastMonth) {
        addMonth(ops, year, month);
        year += month / 12;
        month = month % 12 + 1;
    }
    std::stable_sort(ops.begin(), ops.end(), [](const BankOperation& a, const BankOperation& b) {
        return a.operationDay < b.operationDay;
    });
    return ops;
}

void AccountHistory::addMonth(Operations& ops, int year, int month) {
    const Household& home = m_maker.household();
    const int last = BankCalendar::LastDayOfMonth(year, month);
    const auto on = [&](int date) { return BankCalendar::DayOfMonth(year, month, date); };
    const auto add = [&](int day, BankOperation (OperationMaker::*make)(int)) {
        if (day >= m_firstDay && day <= m_today) {
            ops.push_back((m_maker.*make)(day));
        }
    };
    const int variable = static_cast<int>(m_random() % 5);
    const int payday = BankCalendar::PreviousWorkingDay(
        home.employer->payDay != 0 ? on(home.employer->payDay) : last);
    add(payday, &OperationMaker::salary);
    add(on(home.rentDay), &OperationMaker::rent);
    add(on(18 + variable), &OperationMaker::phoneBill);
    if (m_level >= 1) {
        add(on(8 + variable), &OperationMaker::internet);
        const bool electricityMonth = month % 2 == home.electricityParity;
        add(on(electricityMonth ? 15 : 24 + variable),
            electricityMonth ? &OperationMaker::electricity : &OperationMaker::gas);
        add(BankCalendar::NextWorkingDay(payday + 1), &OperationMaker::savings);
    }
    if (m_level >= 2) {
        add(on(home.subscriptionDay), &OperationMaker::subscription);
        add(BankCalendar::NextWorkingDay(on(1)), &OperationMaker::cardFee);
        add(on(21 + variable), &OperationMaker::creditCardRepayment);
    }
    if (m_level >= 3) {
        add(BankCalendar::PreviousWorkingDay(last), &OperationMaker::smsFee);
        add(BankCalendar::PreviousWorkingDay(last), &OperationMaker::directDebitFee);
        add(on(15 + variable), &OperationMaker::socialInsurance);
        if (month % 3 == 0) {
            add(last, &OperationMaker::capitalisation);
        }
    }
}

// One of each kind that the monthly operations leave out, in a setting where it makes sense.
std::vector<BankOperation> AccountHistory::onceInAWhile(const Operations& present, bool compact) {
    using namespace KindTexts;
    std::set<std::string> have;
    for (const BankOperation& op : present) {
        have.insert(kindOf(op));
    }
    Operations ops;
    const auto needs = [&](std::initializer_list<const char*> kinds) {
        return std::any_of(kinds.begin(), kinds.end(),
                           [&](const char* kind) { return have.count(kind) == 0; });
    };
    const auto add = [&](Operations more) {
        for (const BankOperation& op : more) {
            have.insert(kindOf(op));
        }
        append(ops, std::move(more));
    };
    const auto one = [&](const char* kind, BankOperation (OperationMaker::*make)(int), int day) {
        if (needs({kind})) {
            add({(m_maker.*make)(day)});
        }
    };
    if (needs({kDepositEnd, kDepositInterest, kInterestTax})) {
        add(m_maker.termDeposit(randomDay(), !compact));
    }
    if (needs({kCancelled, kOutgoing})) {
        add(m_maker.cancelledTransfer(randomDay()));
    }
    if (needs({kBalanceFee, kWithdrawal, kCashMachineFee})) {
        add(m_maker.foreignCashMachine(randomDay(), true));
    }
    if (needs({kExternalTransferFee})) {
        add(m_maker.expressTransfer(randomDay(), !compact));
    }
    if (needs({kInternalTransferFee})) {
        add(m_maker.internalTransfer(randomDay(), !compact));
    }
    if (needs({kCapitalisation, kInterestCorrection})) {
        add(m_maker.interestCorrection(monthEnd(randomDay())));
    }
    one(kCardFee, &OperationMaker::cardFee, monthStart(randomDay()));
    one(kPinFee, &OperationMaker::pinChange, randomDay());
    one(kCashDeposit, &OperationMaker::cashDeposit, randomDay());
    one(kSocialInsurance, &OperationMaker::socialInsurance, randomDay());
    one(kTax, &OperationMaker::incomeTax, taxDay());
    one(kStampDuty, &OperationMaker::stampDuty, randomDay());
    if (needs({kForeignInvoice})) {
        add({m_maker.foreignInvoice(randomDay(), true)});
    }
    one(kCreditCardRepayment, &OperationMaker::creditCardRepayment, randomDay());
    one(kCreditCardTransfer, &OperationMaker::creditCardTransfer, randomDay());
    one(kCardPayment, &OperationMaker::cardPayment, randomDay());
    one(kSmsFee, &OperationMaker::smsFee, monthEnd(randomDay()));
    one(kDirectDebitFee, &OperationMaker::directDebitFee, monthEnd(randomDay()));
    one(kDirectDebit, &OperationMaker::electricity, randomDay());
    one(kIncoming, &OperationMaker::paymentFromPerson, randomDay());
    one(kStandingOrder, &OperationMaker::rent, randomDay());
    one(kOther, &OperationMaker::bonus, randomDay());
    if (!compact) {
        one("top-up", &OperationMaker::topUp, randomDay());
    }
    return ops;
}

void AccountHistory::addEveryday(Operations& ops, int count) {
    enum Event {
        Card,
        Cash,
        ForeignCash,
        ToPerson,
        FromPerson,
        Shop,
        Refund,
        TopUp,
        Auction,
        Deposit,
        CreditCard
    };
    static constexpr int kWeights[] = {60, 7, 2, 8, 6, 4, 1, 3, 1, 1, 1};
    std::discrete_distribution<int> events(std::begin(kWeights), std::end(kWeights));
    while (count > 0) {
        const int day = randomDay();
        auto event = static_cast<Event>(events(m_random));
        if (event == ForeignCash && count < 2) {
            event = Card;
        }
        switch (event) {
            case Card:
                ops.push_back(m_maker.cardPayment(day));
                break;
            case Cash:
                ops.push_back(m_maker.withdrawal(day));
                break;
            case ForeignCash:
                append(ops, m_maker.foreignCashMachine(day, false));
                break;
            case ToPerson:
                ops.push_back(m_maker.paymentToPerson(day));
                break;
            case FromPerson:
                ops.push_back(m_maker.paymentFromPerson(day));
                break;
            case Shop:
                ops.push_back(m_maker.onlineShop(day));
                break;
            case Refund:
                ops.push_back(m_maker.refund(day));
                break;
            case TopUp:
                ops.push_back(m_maker.topUp(day));
                break;
            case Auction:
                ops.push_back(m_maker.auctionFee(day));
                break;
            case Deposit:
                ops.push_back(m_maker.cashDeposit(day));
                break;
            case CreditCard:
                ops.push_back(m_maker.creditCardTransfer(day));
                break;
        }
        count -= event == ForeignCash ? 2 : 1;
    }
}

int AccountHistory::randomDay() {
    return m_firstDay +
           static_cast<int>(m_random() % static_cast<uint32_t>(m_today - m_firstDay + 1));
}

int AccountHistory::monthEnd(int day) const {
    int year = 0, month = 0, date = 0;
    CivilDate::ToCivil(day, year, month, date);
    const int end = BankCalendar::PreviousWorkingDay(BankCalendar::LastDayOfMonth(year, month));
    return end <= m_today && end >= m_firstDay ? end : day;
}

int AccountHistory::monthStart(int day) const {
    int year = 0, month = 0, date = 0;
    CivilDate::ToCivil(day, year, month, date);
    const int start = BankCalendar::NextWorkingDay(CivilDate::FromCivil(year, month, 1));
    return start <= m_today && start >= m_firstDay ? start : day;
}

// The yearly tax return is settled by the end of April.
int AccountHistory::taxDay() {
    int year = 0, month = 0, date = 0;
    CivilDate::ToCivil(m_today, year, month, date);
    for (const int candidate :
         {CivilDate::FromCivil(year, 4, 28), CivilDate::FromCivil(year - 1, 4, 28)}) {
        if (candidate <= m_today && candidate >= m_firstDay) {
            return candidate;
        }
    }
    return randomDay();
}
