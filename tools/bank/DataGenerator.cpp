// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataGenerator.h"

#include <algorithm>

#include "AccountHistory.h"
#include "CivilDate.h"
#include "Nrb.h"

DataGenerator::DataGenerator(const GeneratorSettings& settings)
    : m_settings(settings), m_random(settings.seed) {}

std::string DataGenerator::MakeNrb(int routing, const std::string& rest16) {
    const std::string body = std::to_string(routing) + rest16;
    std::u16string wide = u"00" + std::u16string(body.begin(), body.end());
    const int check = CheckNRB(wide).expected;
    return std::string(1, char('0' + check / 10)) + char('0' + check % 10) + body;
}

std::string DataGenerator::randomDigits(int count) {
    std::string digits;
    for (int i = 0; i < count; ++i) {
        digits.push_back(static_cast<char>('0' + m_random() % 10));
    }
    return digits;
}

std::string DataGenerator::AccountName(int index) {
    switch (index) {
        case 0:
            return "Konto osobiste Wygodne";
        case 1:
            return "Konto osobiste Proste";
        default:
            return "Konto osobiste " + std::to_string(index + 1);
    }
}

BankData DataGenerator::generate() {
    BankData data;
    data.user = m_settings.user;
    data.password = m_settings.password;
    const int today = CivilDate::Today();
    for (int a = 0; a < m_settings.accounts; ++a) {
        BankAccount account;
        account.nrb = MakeNrb(m_settings.routing, "00" + std::to_string(10 + a) + randomDigits(12));
        account.name = AccountName(a);
        account.operations = AccountHistory(m_settings, a, today, m_random()).operations();
        data.accounts.push_back(std::move(account));
    }
    std::vector<BankOperation*> all;
    for (BankAccount& account : data.accounts) {
        for (BankOperation& op : account.operations) {
            all.push_back(&op);
        }
    }
    // Operation numbers grow with the date across all accounts, as a bank's journal does.
    std::stable_sort(all.begin(), all.end(), [](const BankOperation* a, const BankOperation* b) {
        return a->operationDay < b->operationDay;
    });
    int32_t tid = 3000000 + static_cast<int32_t>(m_random() % 100000);
    for (BankOperation* op : all) {
        tid += 1 + static_cast<int32_t>(m_random() % 40);
        op->tid = tid;
    }
    for (BankAccount& account : data.accounts) {
        std::sort(account.operations.begin(), account.operations.end(),
                  [](const BankOperation& a, const BankOperation& b) { return a.tid > b.tid; });
    }
    return data;
}
