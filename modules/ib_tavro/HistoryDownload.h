// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The body of QueryHistory: log on once, then for each account open it from the accounts page,
// request the operation list of the last N days, walk back through older pages, read every
// details page and deliver the account's operations.

#include <string>
#include <vector>

#include "BankSession.h"
#include "FormFields.h"
#include "ModuleConfig.h"
#include "ModuleInterface.h"
#include "OperationLink.h"
#include "ScrapedOperation.h"

// The validation codes in their order; 0 when the request may run.
int32_t ValidateQuery(const HistoryQuery* query);

// "2 + 6x4" groups separated by single spaces, the way the accounts page shows numbers.
std::string DisplayAccountNumber(const char16_t* number);

// Count and unit of the period field pair: days below 999, else whole months of 31 days.
std::pair<std::string, std::string> PeriodSelection(int32_t days);

class HistoryDownload {
public:
    HistoryDownload(HistoryQuery& query, const ModuleConfig& config);

    // From the opening of the session to the common end; the result code of QueryHistory.
    int32_t run();

private:
    int32_t downloadAll();
    bool LogOn();
    int32_t downloadAccount(const char16_t* number);
    int32_t openOperationList(const std::string& display);
    int32_t walkOlderPages(FormFields& request, std::vector<OperationLink>& links);
    int32_t readDetails(FormFields& request, const std::vector<OperationLink>& links,
                        std::vector<ScrapedOperation>& operations);
    void storeAccountField(const std::string& display);

    bool get(const std::string& path);
    bool post(const std::string& path, FormFields& fields);
    void report(int32_t percent, const std::u16string& text = {});
    int32_t share(int32_t percent) const { return m_base + m_share * percent / 100; }

    HistoryQuery& m_query;
    ModuleConfig m_config;
    BankSession m_session;
    std::string m_page;
    int m_requests = 0;
    int32_t m_base = 10;
    int32_t m_share = 0;
};
