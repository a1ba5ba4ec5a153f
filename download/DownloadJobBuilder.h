// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DownloadJob.h"

namespace sqlite3x {
class connection;
}

// One row of `accounts` as a download needs it.
struct AccountRow {
    std::u16string number;    // a_number
    std::u16string name;      // a_name
    std::u16string user;      // a_user
    std::u16string password;  // a_pass
    int32_t type = 0;         // a_type
};

// Turns account rows into download jobs. The grouping is pure, so it is tested without a
// database; the readers only fetch the rows.
class DownloadJobBuilder {
public:
    // Days of history of a scheduled download.
    static constexpr int32_t kScheduledDays = 2;

    // A download the user started: adjacent rows sharing a log-on (user and password, exact
    // comparison) form one job. A row with an empty user or password never closes a job, so
    // the next row joins it; a job takes the log-on and type of its last row.
    static std::vector<DownloadJob> GroupByLogOn(const std::vector<AccountRow>& rows, int32_t days);
    // A scheduled download: one job per account, kScheduledDays days, no grouping.
    static std::vector<DownloadJob> OnePerAccount(const std::vector<AccountRow>& rows);

    // The readers leave out accounts filled only from statement files.
    // Every account, by display name then password (the grouping order).
    static std::vector<AccountRow> ReadAccountsByName(sqlite3x::connection& con);
    // Every account in the order the database returns them.
    static std::vector<AccountRow> ReadAllAccounts(sqlite3x::connection& con);
    // The accounts with this number (normally one).
    static std::vector<AccountRow> ReadAccount(sqlite3x::connection& con,
                                               const std::u16string& number);
};
