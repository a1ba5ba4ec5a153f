// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationDelivery.h"

#include <charconv>
#include <cstdio>

#include "HtmlScanner.h"

namespace {
constexpr size_t kMaxText = 139;
constexpr char kHardSpace = static_cast<char>(0xA0);

void trimChars(std::string& text, const char* chars) {
    const size_t begin = text.find_first_not_of(chars);
    if (begin == std::string::npos) {
        text.clear();
        return;
    }
    text = text.substr(begin, text.find_last_not_of(chars) - begin + 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool validDate(const std::string& date) {
    return date.size() == 10 && date[2] == '-';
}

std::string formatAmount(double value) {
    char text[64];
    std::snprintf(text, sizeof(text), "%01.2f", value);
    std::string out(text);
    ReplaceAll(out, ".", ",");
    return out;
}
}  // namespace

double ReadAmount(const std::string& text) {
    size_t i = 0;
    std::string number;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') {
            number += '-';
        }
        ++i;
    }
    const size_t digitsStart = i;
    while (i < text.size() && isDigit(text[i])) {
        number += text[i++];
    }
    if (i == digitsStart) {
        return 0.0;
    }
    if (i + 1 < text.size() && text[i] == ',' && isDigit(text[i + 1])) {
        number += '.';
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            number += text[i];
        }
    }
    double value = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

int32_t ReadOperationNumber(const std::string& text) {
    size_t i = text.find_first_not_of(" \t");
    uint32_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + static_cast<uint32_t>(text[i] - '0');
    }
    return static_cast<int32_t>(value);
}

void NormaliseOperation(ScrapedOperation& operation) {
    operation.title = operation.title.substr(0, kMaxText);
    operation.name = operation.name.substr(0, kMaxText);
    trimChars(operation.operationDate, " ");
    trimChars(operation.postingDate, " ");
    if (Contains(operation.title, "<")) {
        operation.title.clear();
    }
    RemoveAll(operation.amount, " ");
    RemoveAll(operation.amount, std::string(1, kHardSpace));
    RemoveAll(operation.amount, "&nbsp;");
    RemoveAll(operation.amount, "\"");
    RemoveAll(operation.name, "\"");
    RemoveAll(operation.title, "\"");
    RemoveAll(operation.account, "\"");
    trimChars(operation.amount, " \xA0");

    double value = ReadAmount(operation.amount);
    if (operation.direction == 0 && value > 0) {
        value = -value;
    }
    if (value == 0) {
        operation.operationDate.clear();
    }
    operation.amount = formatAmount(value);

    if (Contains(operation.name, "<") || Contains(operation.name, ">")) {
        operation.name.clear();
        if (operation.title.size() < 2) {
            // The record promises at most 139 characters, whatever the title came from.
            operation.title = operation.kindText.substr(0, kMaxText);
        }
    }
    if (operation.account.size() > 27) {
        operation.account.clear();
    }
}

std::string DiagnosticText(const ScrapedOperation& operation) {
    char id[32];
    std::snprintf(id, sizeof(id), "ID: 0x%08X\r\n",
                  static_cast<unsigned>(ReadOperationNumber(operation.number)));
    return std::string(id) + "Amount: " + operation.amount + "\r\nAccount: " + operation.account +
           "\r\nDate_1: " + operation.operationDate + "\r\nDate_2: " + operation.postingDate +
           "\r\nDescr: " + operation.title + "\r\nName: " + operation.name + "\r\nLink: \r\n";
}

void DeliverOperations(std::vector<ScrapedOperation>& operations, HistoryQuery& query) {
    for (auto it = operations.rbegin(); it != operations.rend(); ++it) {
        ScrapedOperation& operation = *it;
        NormaliseOperation(operation);
        if (query.options & kDiagnosticOption) {
            // A module has no windows here: the report goes to the standard error stream.
            std::fputs(DiagnosticText(operation).c_str(), stderr);
        }
        if (!validDate(operation.operationDate) || !validDate(operation.postingDate) ||
            query.onOperation == nullptr) {
            continue;
        }
        OperationRecord record{};
        record.size = sizeof(OperationRecord);
        record.operationDate = ParseDayDate(operation.operationDate);
        record.postingDate = ParseDayDate(operation.postingDate);
        record.tid = ReadOperationNumber(operation.number);
        record.direction = operation.direction;
        record.kind = operation.kind;
        record.kindText = operation.kindText.c_str();
        record.amount = ReadAmount(operation.amount);
        record.amountText = operation.amount.c_str();
        record.counterpartyAccount = operation.account.c_str();
        record.counterpartyName = operation.name.c_str();
        record.title = operation.title.c_str();
        query.onOperation(&query.context, &record);
    }
}
