// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages of the site other than an operation's own markup. Every page is UTF-8 here; the
// site converts it to ISO-8859-2 when serving.

#include <string>
#include <utility>
#include <vector>

#include "BankData.h"
#include "SiteForm.h"

struct ListedOperation {
    const BankOperation* operation;
    std::string parameters;  // what the item's link posts as __PARAMETERS
};

struct ListPageContent {
    const BankAccount* account = nullptr;
    std::string periodText;  // "ostatnie 30 dni"
    int page = 1;
    std::vector<ListedOperation> operations;  // newest first
    std::string olderParameters;              // empty when there are no older operations
};

class PageRenderer {
public:
    static std::string Logon(const HiddenState& hidden, const std::string& message);
    static std::string Welcome(const std::string& user);
    // `tokens[i]` is what the link of account i posts to `target`; no accounts when the session
    // is not logged on.
    static std::string Accounts(const HiddenState& hidden, const std::vector<BankAccount>& accounts,
                                const std::vector<std::string>& tokens, bool loggedOn,
                                const std::string& target);
    static std::string Account(const HiddenState& hidden, const BankAccount& account);
    static std::string List(const HiddenState& hidden, const ListPageContent& content);
    static std::string Details(const BankOperation& operation, const BankAccount& account);
    static std::string Error(const std::string& message);
    static std::string Balance(const BankAccount& account);
};
