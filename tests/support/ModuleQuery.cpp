#include "ModuleQuery.h"

#include <cstring>
#include <ctime>
#include <memory>
#include <stdexcept>

#include "IconvConverter.h"

namespace {
std::u16string widen(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

std::string convert(const char* to, const char* from, const char* bytes, size_t size) {
    const IconvConverter converter(to, from);
    if (!converter.valid()) {
        throw std::runtime_error("iconv");
    }
    return converter.convert(bytes, size, "?", 1);
}

std::string utf16ToUtf8(const char16_t* text) {
    size_t length = 0;
    while (text[length] != 0) {
        ++length;
    }
    return convert("UTF-8", "UTF-16LE", reinterpret_cast<const char*>(text), length * 2);
}
}  // namespace

ModuleQuery::ModuleQuery(std::string user, std::string password, std::vector<std::string> accounts,
                         int32_t days)
    : m_user(widen(user)), m_password(widen(password)), m_days(days) {
    for (const std::string& account : accounts) {
        m_accounts.push_back(widen(account));
    }
}

std::string ModuleQuery::Cp1250ToUtf8(const char* text) {
    return text == nullptr ? std::string() : convert("UTF-8", "CP1250", text, std::strlen(text));
}

int64_t ModuleQuery::NoonOf(const std::string& day) {
    std::tm local{};
    local.tm_mday = std::stoi(day.substr(0, 2));
    local.tm_mon = std::stoi(day.substr(3, 2)) - 1;
    local.tm_year = std::stoi(day.substr(6, 4)) - 1900;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&local));
}

int32_t ModuleQuery::run(const ModuleHandle& module) {
    std::vector<const char16_t*> accounts;
    for (const std::u16string& account : m_accounts) {
        accounts.push_back(account.c_str());
    }
    HistoryQuery query{};
    query.size = sizeof(HistoryQuery);
    query.context.owner = this;
    query.user = m_user.c_str();
    query.password = m_password.c_str();
    query.accounts = accounts.data();
    query.accountCount = static_cast<int32_t>(accounts.size());
    query.onOperation = deliver ? &OnOperation : nullptr;
    query.onProgress = &OnProgress;
    query.days = m_days;
    query.options = options;
    return module.queryHistory(&query, 0);
}

int32_t ModuleQuery::OnOperation(HostContext* context, const OperationRecord* record) {
    auto* self = static_cast<ModuleQuery*>(context->owner);
    const HistoryQuery* query = QueryFromContext(context);
    DeliveredOperation op;
    op.account = std::string(query->account, strnlen(query->account, sizeof query->account));
    op.operationDate = record->operationDate;
    op.postingDate = record->postingDate;
    op.tid = record->tid;
    op.direction = record->direction;
    op.kind = record->kind;
    op.amount = record->amount;
    op.kindText = Cp1250ToUtf8(record->kindText);
    op.amountText = Cp1250ToUtf8(record->amountText);
    op.counterpartyAccount = Cp1250ToUtf8(record->counterpartyAccount);
    op.counterpartyName = Cp1250ToUtf8(record->counterpartyName);
    op.title = Cp1250ToUtf8(record->title);
    self->operations.push_back(std::move(op));
    return 0;
}

void ModuleQuery::OnProgress(HostContext* context, int32_t percent, const char16_t* text) {
    auto* self = static_cast<ModuleQuery*>(context->owner);
    const HistoryQuery* query = QueryFromContext(context);
    ProgressReport report{
        percent, text != nullptr, text != nullptr ? utf16ToUtf8(text) : "",
        std::string(query->account, strnlen(query->account, sizeof query->account))};
    self->progress.push_back(report);
    if (self->onProgress) {
        self->onProgress(report);
    }
}

std::vector<int32_t> ModuleQuery::percents() const {
    std::vector<int32_t> values;
    for (const ProgressReport& report : progress) {
        values.push_back(report.percent);
    }
    return values;
}
