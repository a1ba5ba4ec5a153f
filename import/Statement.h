// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a statement reader gives: the statements of one file as the file states them, before
// anything is compared with the database.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// BankCsv: a bank's CSV history, read with a profile (CsvProfile).
enum class StatementFormat { Mt940, Camt053, Ofx, OwnCsv, OwnXml, BankCsv };

// One operation of a statement. Texts keep every character the file holds.
struct StatementOperation {
    // Numbers first, texts last: a large file holds many, and this order pads the least.
    int64_t bookingDate = 0;     // posting date: seconds since 1970 UTC of 12:00 local time
    int64_t operationDate = 0;   // the value or transaction date, same encoding
    int64_t amount = 0;          // grosze, negative for money out
    int32_t direction = 0;       // 1 money in, 0 money out
    int32_t kind = 0;            // operation kind 0..22 (0 not classified)
    std::optional<int32_t> tid;  // the operation number, read back from Tavro's own exports
    bool booked = true;          // false: pending or informational, left out of the import
    std::u16string counterpartyName;
    std::u16string counterpartyAccount;
    std::u16string title;
    std::u16string fileId;  // the file's own identifier of the operation; empty when none
};

// One statement (or, for files without statements, one account's operations).
struct Statement {
    std::u16string account;      // the own account as written in the file
    std::u16string currency;     // ISO code as written; empty when the file does not say
    std::u16string reference;    // the statement's own name (":20:", Stmt/Id), for messages
    std::u16string accountName;  // the own account's name, from Tavro's own CSV export; or empty
    std::optional<int64_t> periodFrom;  // first and last day, 12:00 local time
    std::optional<int64_t> periodTo;
    std::optional<int64_t> openingBalance;  // grosze, negative for a debit balance
    std::optional<int64_t> closingBalance;
    std::vector<StatementOperation> operations;
};

struct StatementFile {
    StatementFormat format = StatementFormat::Mt940;
    std::vector<Statement> statements;
};
