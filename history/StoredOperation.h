#pragma once

#include <cstdint>
#include <string>

// One stored operation: a row of `transactions` with the name of its own account. What the
// details window, the export writers and the statement import exchange; the list keeps its rows
// packed (HistoryEntries) and forms these on demand.
struct StoredOperation {
    int32_t tid = 0;                     // t_tid, the bank's number of the operation
    std::u16string ownAccount;           // t_to_acc, the user's account number
    std::u16string ownAccountName;       // a_name of that account; empty without an account row
    std::u16string counterpartyAccount;  // t_from_acc
    int64_t operationDate = 0;           // t_date1, seconds since 1970 UTC
    int64_t bookingDate = 0;             // t_date2, what the list shows and the time filter tests
    std::u16string counterpartyName;     // t_from_name, column "Kontrahent"
    int32_t direction = 0;               // t_tio: 1 in, 0 out
    int32_t kind = 0;                    // t_class
    std::u16string title;                // t_desc, column "Tytułem"
    double amount = 0.0;                 // t_amount, negative for money out
    int32_t id = 0;                      // t_id, the row's number in the file
};
