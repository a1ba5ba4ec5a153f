// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a module's QueryHistory the way the host does and records what comes back: the progress
// reports and the delivered operations, texts converted from Windows-1250 to UTF-8.
//
//   ModuleQuery query(bank.user(), bank.password(), {bank.accounts()[0]}, 400);
//   int result = query.run(module);
//   query.operations, query.progress, query.percents()

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ModuleHandle.h"

struct DeliveredOperation {
    std::string account;  // the query's account field when the operation arrived
    int64_t operationDate = 0;
    int64_t postingDate = 0;
    int32_t tid = 0;
    int32_t direction = 0;
    int32_t kind = 0;
    double amount = 0;
    std::string kindText, amountText, counterpartyAccount, counterpartyName, title;  // UTF-8
};

struct ProgressReport {
    int32_t percent = 0;
    bool hasText = false;
    std::string text;     // UTF-8
    std::string account;  // the query's account field at the time of the report
};

class ModuleQuery {
public:
    ModuleQuery(std::string user, std::string password, std::vector<std::string> accounts,
                int32_t days);

    // Calls QueryHistory and returns its result code.
    int32_t run(const ModuleHandle& module);

    int32_t options = 0;
    bool deliver = true;  // false: no operation callback
    // Called after each progress report is recorded (for example to cancel at a given point).
    std::function<void(const ProgressReport&)> onProgress;

    std::vector<ProgressReport> progress;
    std::vector<DeliveredOperation> operations;
    std::vector<int32_t> percents() const;

    static std::string Cp1250ToUtf8(const char* text);
    // Seconds since 1970 UTC of 12:00 local time on the day "dd-mm-yyyy".
    static int64_t NoonOf(const std::string& day);

private:
    static int32_t OnOperation(HostContext* context, const OperationRecord* record);
    static void OnProgress(HostContext* context, int32_t percent, const char16_t* text);

    std::u16string m_user;
    std::u16string m_password;
    std::vector<std::u16string> m_accounts;
    int32_t m_days;
};
