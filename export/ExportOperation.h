#pragma once

#include <cstdint>
#include <string>

// One operation as the export needs it (a copy of the main window's in-memory record).
struct ExportOperation {
    int32_t tid = 0;                     // t_tid
    std::u16string ownAccount;           // t_to_acc
    std::u16string ownAccountName;       // a_name of that account; empty without an account row
    std::u16string counterpartyAccount;  // t_from_acc
    int64_t operationDate = 0;           // t_date1, seconds since 1970 UTC
    int64_t bookingDate = 0;             // t_date2
    std::u16string counterpartyName;     // t_from_name
    int32_t direction = 0;               // t_tio
    int32_t kind = 0;                    // t_class
    std::u16string title;                // t_desc
    double amount = 0.0;                 // t_amount
};
