// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bank's vocabulary of operation kinds as the bank module classifies it, and what the module
// is expected to deliver for an operation the bank serves. The site uses it to choose the page
// layout (card operations have their own labels) and to write the expectations into the dump.

#include <string>

#include "BankData.h"

enum class KindEffect { None, ClearAccount, CardFields, DropMinus, TopUp };

struct KindRule {
    int number;           // 1..26, the order in which rules are tried
    const char* all[2];   // every non-null fragment must occur
    const char* none[2];  // no non-null fragment may occur
    const char* any[2];   // when set, one of them must occur
    int direction;
    int code;
    const char* label;  // written over the counterparty name, or null
    KindEffect effect;
};

struct ExpectedRecord {
    bool delivered = false;
    int rule = 0;  // 0 when no rule matches
    int kind = 0;
    int direction = 0;
    std::string amountText;  // "-1234,56"
    std::string kindText;
    std::string counterpartyAccount;
    std::string counterpartyName;
    std::string title;
};

class KindTable {
public:
    static constexpr int kRuleCount = 26;
    static const KindRule& Rule(int number);
    // The first rule whose condition holds for the kind text, or null.
    static const KindRule* Match(const std::string& kindText);
    static bool IsCard(const BankOperation& operation);
    static ExpectedRecord Expect(const BankOperation& operation);
    // The second top-up operator besides BLUE MEDIA.
    static constexpr const char* kTopUpOperator = "DOLADOWANIA.PL";
};
