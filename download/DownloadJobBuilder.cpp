// SPDX-License-Identifier: GPL-3.0-or-later
#include "DownloadJobBuilder.h"

#include "Schema.h"
#include "sqlite3x.h"

namespace {

DownloadJob jobFor(const AccountRow& row, int32_t days) {
    DownloadJob job;
    job.user = row.user;
    job.password = row.password;
    job.accounts = {row.number};
    job.names = {row.name};
    job.days = days;
    job.options = 0;
    job.type = row.type;
    return job;
}

std::vector<AccountRow> readRows(sqlite3x::command& cmd) {
    std::vector<AccountRow> rows;
    sqlite3x::reader reader = cmd.execute_reader();
    while (reader.read()) {
        AccountRow row;
        row.number = reader.get_string(u"a_number");
        row.name = reader.get_string(u"a_name");
        row.user = reader.get_string(u"a_user");
        row.password = reader.get_string(u"a_pass");
        row.type = reader.get_int(u"a_type");
        // Accounts filled only from statement files have no bank to download from.
        if (row.type != Schema::kFileOnlyAccountType) {
            rows.push_back(std::move(row));
        }
    }
    reader.close();
    return rows;
}

}  // namespace

std::vector<DownloadJob> DownloadJobBuilder::GroupByLogOn(const std::vector<AccountRow>& rows,
                                                          int32_t days) {
    std::vector<DownloadJob> jobs;
    DownloadJob current;
    std::u16string previousUser;
    std::u16string previousPassword;
    for (const AccountRow& row : rows) {
        const bool previousComplete = !previousUser.empty() && !previousPassword.empty();
        if (previousComplete && (row.user != previousUser || row.password != previousPassword)) {
            jobs.push_back(std::move(current));
            current = DownloadJob{};
        }
        current.accounts.push_back(row.number);
        current.names.push_back(row.name);
        current.user = row.user;
        current.password = row.password;
        current.type = row.type;
        current.days = days;
        current.options = 0;
        previousUser = row.user;
        previousPassword = row.password;
    }
    if (!current.accounts.empty()) {
        jobs.push_back(std::move(current));
    }
    return jobs;
}

std::vector<DownloadJob> DownloadJobBuilder::OnePerAccount(const std::vector<AccountRow>& rows) {
    std::vector<DownloadJob> jobs;
    jobs.reserve(rows.size());
    for (const AccountRow& row : rows) {
        jobs.push_back(jobFor(row, kScheduledDays));
    }
    return jobs;
}

std::vector<AccountRow> DownloadJobBuilder::ReadAccountsByName(sqlite3x::connection& con) {
    sqlite3x::command cmd(con, Schema::kSelectAccountsByName);
    return readRows(cmd);
}

std::vector<AccountRow> DownloadJobBuilder::ReadAllAccounts(sqlite3x::connection& con) {
    sqlite3x::command cmd(con, Schema::kSelectAllAccounts);
    return readRows(cmd);
}

std::vector<AccountRow> DownloadJobBuilder::ReadAccount(sqlite3x::connection& con,
                                                        const std::u16string& number) {
    sqlite3x::command cmd(con, Schema::kSelectAccountByNumber);
    cmd.bind_text(1, number);
    return readRows(cmd);
}
