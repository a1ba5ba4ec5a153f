#pragma once

#include <QString>
#include <cstdint>

// One stored operation as the main window holds it in memory (one row of `transactions`).
// The details command and the export read entries through their index in the list.
struct HistoryEntry {
    QString counterpartyAccount;  // t_from_acc
    QString counterpartyName;     // t_from_name, column "Kontrahent"
    QString title;                // t_desc, column "Tytułem"
    QString ownAccount;           // t_to_acc, the user's account number
    QString ownAccountName;       // a_name of that account; empty when it has no account row
    int64_t operationDate = 0;    // t_date1, seconds since 1970 UTC
    int64_t bookingDate = 0;      // t_date2, what the list shows and the time filter tests
    double amount = 0.0;          // t_amount, negative for money out
    int32_t id = 0;               // t_id
    int32_t tid = 0;              // t_tid, the bank's number of the operation
    int32_t direction = 0;        // t_tio: 1 in, 0 out
    int32_t kind = 0;             // t_class
};
