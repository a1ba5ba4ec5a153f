// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFile.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "CivilDate.h"
#include "KindTable.h"

namespace {
std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream stream(line);
    while (std::getline(stream, field, '\t')) {
        fields.push_back(field);
    }
    if (!line.empty() && line.back() == '\t') {
        fields.emplace_back();
    }
    return fields;
}

bool parseAmount(const std::string& text, int64_t& grosze, bool& negative) {
    std::string digits;
    negative = !text.empty() && text[0] == '-';
    int decimals = -1;
    for (size_t i = negative ? 1 : 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            continue;
        }
        if (text[i] == ',' && decimals < 0) {
            decimals = 0;
        } else if (text[i] >= '0' && text[i] <= '9' && decimals < 2) {
            digits.push_back(text[i]);
            decimals += decimals >= 0 ? 1 : 0;
        } else {
            return false;
        }
    }
    for (; decimals < 2; ++decimals) {
        digits.push_back('0');
    }
    grosze = digits.empty() ? 0 : std::stoll(digits);
    return !digits.empty();
}

BankAccount& accountFor(BankData& data, const std::string& nrb) {
    for (BankAccount& account : data.accounts) {
        if (account.nrb == nrb) {
            return account;
        }
    }
    data.accounts.push_back(BankAccount{nrb, "Rachunek", {}});
    return data.accounts.back();
}

BankOperation parseOperation(const std::vector<std::string>& f) {
    BankOperation op;
    op.tid = std::stoi(f[2]);
    if (!CivilDate::Parse(f[3], op.operationDay) || !CivilDate::Parse(f[4], op.postingDay) ||
        !parseAmount(f[5], op.grosze, op.negative)) {
        throw std::invalid_argument("date or amount");
    }
    op.kindText = f[6];
    op.counterpartyAccount = f[7];
    op.counterpartyName = f[8];
    op.title = f[9];
    op.cardNumber = f.size() > 10 ? f[10] : "";
    op.place = f.size() > 11 ? f[11] : "";
    return op;
}
}  // namespace

BankData DataFile::Read(const std::string& path, const std::string& user,
                        const std::string& password) {
    std::ifstream file(path);
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    BankData data{user, password, {}};
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        const std::vector<std::string> f = splitTabs(line);
        try {
            if (line.empty() || line[0] == '#') {
                continue;
            } else if (f[0] == "account" && f.size() >= 2) {
                accountFor(data, f[1]).name = f.size() > 2 ? f[2] : "Rachunek";
            } else if (f[0] == "op" && f.size() >= 10) {
                accountFor(data, f[1]).operations.push_back(parseOperation(f));
            } else {
                throw std::invalid_argument("record");
            }
        } catch (const std::logic_error&) {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": malformed line");
        }
    }
    for (BankAccount& account : data.accounts) {
        std::stable_sort(account.operations.begin(), account.operations.end(),
                         [](const BankOperation& a, const BankOperation& b) {
                             return a.operationDay != b.operationDay
                                        ? a.operationDay > b.operationDay
                                        : a.tid > b.tid;
                         });
    }
    return data;
}

void DataFile::WriteDump(const std::string& path, const BankData& data) {
    std::ofstream file(path, std::ios::trunc);
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    file << "# account\tnrb\tname\n# op\tnrb\ttid\tdate\tposting\tamount\tkind text\taccount\tname"
            "\ttitle\tcard\tplace\tdelivered\tkind\tdirection\tamount text\taccount\tname\ttitle\n";
    for (const BankAccount& account : data.accounts) {
        file << "account\t" << account.nrb << '\t' << account.name << '\n';
        for (const BankOperation& op : account.operations) {
            const ExpectedRecord e = KindTable::Expect(op);
            std::string amount = std::string(op.negative ? "-" : "") +
                                 std::to_string(op.grosze / 100) + "," +
                                 char('0' + op.grosze % 100 / 10) + char('0' + op.grosze % 10);
            file << "op\t" << account.nrb << '\t' << op.tid << '\t'
                 << CivilDate::Format(op.operationDay) << '\t' << CivilDate::Format(op.postingDay)
                 << '\t' << amount << '\t' << op.kindText << '\t' << op.counterpartyAccount << '\t'
                 << op.counterpartyName << '\t' << op.title << '\t' << op.cardNumber << '\t'
                 << op.place << '\t' << (e.delivered ? 1 : 0) << '\t' << e.kind << '\t'
                 << e.direction << '\t' << e.amountText << '\t' << e.counterpartyAccount << '\t'
                 << e.counterpartyName << '\t' << e.title << '\n';
        }
    }
}
