// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryDownload.h"

#include <cstring>
#include <exception>

#include "AbortFlag.h"
#include "HtmlScanner.h"
#include "IconvConverter.h"
#include "ListWalkGuard.h"
#include "Nrb.h"
#include "OperationDelivery.h"
#include "OperationDetails.h"
#include "OperationList.h"

namespace {
std::u16string asciiToUtf16(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string pageText(int page) {
    return u"Strona: " + asciiToUtf16(std::to_string(page));
}

std::u16string detailsText(size_t current, size_t total) {
    return u"pobieranie szczeg\u00F3\u0142ow: " + asciiToUtf16(std::to_string(current)) + u" z " +
           asciiToUtf16(std::to_string(total));
}

std::u16string wide(const char16_t* text) {
    return text ? std::u16string(text) : std::u16string();
}

// Every list page carries the form "MainForm"; a page without it means the site has changed,
// and reading on would report an empty history as a success.
bool isListPage(const std::string& page) {
    FormFields fields;
    ReadForm(fields, "MainForm", page);
    return fields.size() > 0;
}
}  // namespace

int32_t ValidateQuery(const HistoryQuery* query) {
    if (query == nullptr) {
        return ResultCode::NoQuery;
    }
    if (query->size != static_cast<int32_t>(sizeof(HistoryQuery))) {
        return ResultCode::WrongSize;
    }
    if (query->accounts == nullptr) {
        return ResultCode::MissingField;
    }
    if (query->accounts[0] == nullptr || !IsValidNRB(query->accounts[0])) {
        return ResultCode::BadAccountNumber;
    }
    if (query->user == nullptr || query->password == nullptr || query->days == 0) {
        return ResultCode::MissingField;
    }
    return ResultCode::Success;
}

std::string DisplayAccountNumber(const char16_t* number) {
    std::string display;
    for (size_t i = 0; number != nullptr && number[i] != 0 && i < 26; ++i) {
        if (i == 2 || (i > 2 && (i - 2) % 4 == 0)) {
            display += ' ';
        }
        display += number[i] < 0x80 ? static_cast<char>(number[i]) : '?';
    }
    return display;
}

std::pair<std::string, std::string> PeriodSelection(int32_t days) {
    if (days < 999) {
        return {std::to_string(days), "D"};
    }
    return {std::to_string(days / 31), "M"};
}

HistoryDownload::HistoryDownload(HistoryQuery& query, const ModuleConfig& config)
    : m_query(query), m_config(config) {}

int32_t HistoryDownload::run() {
    if (!m_session.openSession()) {
        m_session.close();
        return ResultCode::NoSession;
    }
    report(3);
    const bool connected = m_session.connect(m_config);
    report(5);
    if (!connected) {
        m_session.close();
        return ResultCode::NoConnection;
    }
    int32_t result = ResultCode::RequestFailed;
    try {
        result = downloadAll();
    } catch (const std::exception&) {
        result = ResultCode::RequestFailed;
    }
    m_session.close();
    report(100);
    if (AbortFlag().exchange(false)) {
        result = ResultCode::Cancelled;
    }
    return result;
}

int32_t HistoryDownload::downloadAll() {
    if (!LogOn()) {
        return ResultCode::LogOnFailed;
    }
    if (m_query.accountCount >= 1) {
        m_share = 90 / m_query.accountCount;
        for (int32_t k = 0; k < m_query.accountCount; ++k) {
            const int32_t result = downloadAccount(m_query.accounts[k]);
            if (result != ResultCode::Success) {
                return result;
            }
            m_base += m_share;
        }
    }
    report(99);
    return ResultCode::Success;
}

bool HistoryDownload::LogOn() {
    if (!get("/")) {
        return false;
    }
    FormFields fields;
    ReadForm(fields, "MainForm", m_page);
    SetField(fields, "customer", Utf16ToCp1250(wide(m_query.user)));
    SetField(fields, "password", Utf16ToCp1250(wide(m_query.password)));
    return post("/logon.aspx", fields);
}

namespace {

// The list filter: every operation of the last `count` units, in the site's field order.
void SetPeriodFields(FormFields& request, const std::string& count, const std::string& unit) {
    SetField(request, "rangepanel_group", "lastdays_radio");
    SetField(request, "lastdays_days", count);
    SetField(request, "lastdays_period", unit);
    SetField(request, "accoperlist_typefilter_group", "ALL");
    SetField(request, "accoperlist_amountfilter_amountmin", "");
    SetField(request, "accoperlist_amountfilter_amountmax", "");
    SetField(request, "export_oper_history_format", "PDF");
}

}  // namespace

int32_t HistoryDownload::downloadAccount(const char16_t* number) {
    const std::string display = DisplayAccountNumber(number);
    report(share(10));
    if (!get("/accounts_list.aspx")) {
        return ResultCode::LogOnFailed;
    }
    if (const int32_t result = openOperationList(display); result != ResultCode::Success) {
        return result;
    }
    report(share(20), pageText(1));
    const auto [count, unit] = PeriodSelection(m_query.days);
    FormFields page;
    ReadForm(page, "MainForm", m_page);
    FormFields request;
    SetField(request, "__PARAMETERS", "");
    SetField(request, "__STATE", GetField(page, "__STATE"));
    SetField(request, "__VIEWSTATE", "");
    SetField(request, "__EVENTVALIDATION", GetField(page, "__EVENTVALIDATION"));
    SetPeriodFields(request, count, unit);
    report(share(30));
    if (!post("/account_oper_list.aspx", request) || !isListPage(m_page)) {
        return ResultCode::RequestFailed;
    }
    report(share(40));
    std::vector<OperationLink> links;
    const bool more = ReadOperationList(m_page, links);
    if (more) {
        if (const int32_t result = walkOlderPages(request, links); result != ResultCode::Success) {
            return result;
        }
    }
    ReadForm(request, "MainForm", m_page);
    std::vector<ScrapedOperation> operations;
    if (const int32_t result = readDetails(request, links, operations);
        result != ResultCode::Success) {
        return result;
    }
    report(share(95));
    storeAccountField(display);
    DeliverOperations(operations, m_query);
    return ResultCode::Success;
}

// From the accounts page to the account's first operation-list page.
int32_t HistoryDownload::openOperationList(const std::string& display) {
    std::vector<std::string> args;
    if (display.empty() || !ReadOnclickArguments(m_page, display, args) || args.size() < 4) {
        return ResultCode::RequestFailed;
    }
    FormFields account;
    ReadForm(account, "MainForm", m_page);
    SetField(account, "__PARAMETERS", args[3]);
    report(share(15));
    // Always "/" in front, also of a link that starts with one: the site has only ever been
    // asked for the path that way.
    if (!post("/" + args[0], account)) {
        return ResultCode::RequestFailed;
    }
    report(share(17));
    ReadForm(account, "MainForm", m_page);
    SetField(account, "sCounter", "");
    SetField(account, "__EVENTVALIDATION", "");
    if (!post("/account_oper_list.aspx", account) || !isListPage(m_page)) {
        return ResultCode::RequestFailed;
    }
    return ResultCode::Success;
}

int32_t HistoryDownload::walkOlderPages(FormFields& request, std::vector<OperationLink>& links) {
    const auto [count, unit] = PeriodSelection(m_query.days);
    ListWalkGuard walk;
    walk.accept(m_page);  // the first page, which offered the older ones
    bool more = true;
    for (int page = 1; more;) {
        ReadForm(request, "MainForm", m_page);
        ++page;
        report(share(50), pageText(page));
        const std::string parameters = ReadPrevPageParameters(m_page);
        SetField(request, "__PARAMETERS", "");
        SetField(request, "__VIEWSTATE", "");
        SetPeriodFields(request, count, unit);
        SetField(request, "__PARAMETERS", parameters);
        if (!post("/account_oper_list.aspx", request) || !isListPage(m_page) ||
            !walk.accept(m_page)) {
            return ResultCode::RequestFailed;
        }
        more = ReadOperationList(m_page, links);
    }
    return ResultCode::Success;
}

int32_t HistoryDownload::readDetails(FormFields& request, const std::vector<OperationLink>& links,
                                     std::vector<ScrapedOperation>& operations) {
    const auto total = static_cast<int32_t>(links.size());
    for (int32_t i = 0; i < total; ++i) {
        report(m_base + (60 + 40 * i / total) * m_share / 100, detailsText(i + 1, total));
        const OperationLink& link = links[i];
        SetField(request, "__PARAMETERS", link.parameters);
        if (!post(link.path, request)) {
            return ResultCode::RequestFailed;
        }
        RemoveAll(m_page, "\t");
        RemoveAll(m_page, "\r");
        RemoveAll(m_page, "\n");
        ScrapedOperation operation;
        // A page without any details label is not a details page (an expired session, a changed
        // site): the account fails rather than losing its operations without a word.
        if (!ReadOperationDetails(m_page, operation, link.sign)) {
            return ResultCode::RequestFailed;
        }
        // Stored operations are told apart by their number: one whose number reads as 0 (no
        // number row, or no digits in it) would replace every other such operation, so only it
        // is left out and the rest of the account is delivered.
        if (ReadOperationNumber(operation.number) == 0) {
            continue;
        }
        operations.push_back(std::move(operation));
    }
    return ResultCode::Success;
}

void HistoryDownload::storeAccountField(const std::string& display) {
    std::string digits = display;
    RemoveAll(digits, " ");
    RemoveAll(digits, "-");
    const size_t length = std::min(digits.size(), sizeof(m_query.account) - 1);
    std::memcpy(m_query.account, digits.data(), length);
    m_query.account[length] = '\0';
}

bool HistoryDownload::get(const std::string& path) {
    const std::string referrer = m_requests++ == 0 ? std::string() : m_session.baseUrl();
    return m_session.SendRequest("GET", path, "", referrer, "", m_page);
}

bool HistoryDownload::post(const std::string& path, FormFields& fields) {
    const std::string referrer = m_requests++ == 0 ? std::string() : m_session.baseUrl();
    const std::string body = EncodeForm(fields);
    return m_session.SendRequest("POST", path, BankSession::kFormHeaders, referrer, body, m_page);
}

void HistoryDownload::report(int32_t percent, const std::u16string& text) {
    if (m_query.onProgress != nullptr) {
        m_query.onProgress(&m_query.context, percent, text.empty() ? nullptr : text.c_str());
    }
}
