// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownloadJobBuilder.h"
#include "Schema.h"
#include "sqlite3x.h"

namespace {

AccountRow row(const char16_t* number, const char16_t* user, const char16_t* password,
               int32_t type = 0) {
    return AccountRow{number, std::u16string(u"name ") + number, user, password, type};
}

// The accounts of each expected job, in order.
using Grouping = std::vector<std::vector<std::u16string>>;

Grouping accountsOf(const std::vector<DownloadJob>& jobs) {
    Grouping result;
    for (const DownloadJob& job : jobs) {
        result.push_back(job.accounts);
    }
    return result;
}

struct GroupingCase {
    const char* name;
    std::vector<AccountRow> rows;
    Grouping jobs;
};

class GroupByLogOnTest : public ::testing::TestWithParam<GroupingCase> {};

TEST_P(GroupByLogOnTest, GroupsAdjacentAccountsSharingALogOn) {
    const GroupingCase& c = GetParam();
    const std::vector<DownloadJob> jobs = DownloadJobBuilder::GroupByLogOn(c.rows, 30);
    EXPECT_EQ(accountsOf(jobs), c.jobs);
    for (const DownloadJob& job : jobs) {
        EXPECT_EQ(job.days, 30);
        EXPECT_EQ(job.options, 0);
        EXPECT_EQ(job.names.size(), job.accounts.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GroupByLogOnTest,
    ::testing::Values(
        GroupingCase{"NoAccounts", {}, {}},
        GroupingCase{"OneAccount", {row(u"A", u"jan", u"p")}, {{u"A"}}},
        GroupingCase{"SameLogOnAdjacent",
                     {row(u"A", u"jan", u"p"), row(u"B", u"jan", u"p")},
                     {{u"A", u"B"}}},
        GroupingCase{
            "OtherPassword", {row(u"A", u"jan", u"p"), row(u"B", u"jan", u"q")}, {{u"A"}, {u"B"}}},
        GroupingCase{"UserComparedWithCase",
                     {row(u"A", u"jan", u"p"), row(u"B", u"Jan", u"p")},
                     {{u"A"}, {u"B"}}},
        GroupingCase{"SameLogOnNotAdjacent",
                     {row(u"A", u"jan", u"p"), row(u"B", u"ewa", u"p"), row(u"C", u"jan", u"p")},
                     {{u"A"}, {u"B"}, {u"C"}}},
        GroupingCase{"EmptyPasswordJoinsNextRow",
                     {row(u"A", u"jan", u""), row(u"B", u"ewa", u"q"), row(u"C", u"ola", u"r")},
                     {{u"A", u"B"}, {u"C"}}},
        GroupingCase{"EmptyUserJoinsNextRow",
                     {row(u"A", u"", u"p"), row(u"B", u"ewa", u"q")},
                     {{u"A", u"B"}}},
        GroupingCase{"TwoEmptyLogOnsInARow",
                     {row(u"A", u"", u""), row(u"B", u"", u""), row(u"C", u"ewa", u"q"),
                      row(u"D", u"ewa", u"q"), row(u"E", u"ola", u"q")},
                     {{u"A", u"B", u"C", u"D"}, {u"E"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GroupByLogOn, JobTakesTheLogOnAndTypeOfItsLastRow) {
    const std::vector<DownloadJob> jobs = DownloadJobBuilder::GroupByLogOn(
        {row(u"A", u"jan", u"", 3), row(u"B", u"ewa", u"q", 5)}, 7);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].user, u"ewa");
    EXPECT_EQ(jobs[0].password, u"q");
    EXPECT_EQ(jobs[0].type, 5);
    EXPECT_EQ(jobs[0].names, (std::vector<std::u16string>{u"name A", u"name B"}));
}

TEST(OnePerAccount, EveryAccountIsAJobOfTwoDays) {
    const std::vector<DownloadJob> jobs =
        DownloadJobBuilder::OnePerAccount({row(u"A", u"jan", u"p", 1), row(u"B", u"jan", u"p", 2)});
    EXPECT_EQ(accountsOf(jobs), (Grouping{{u"A"}, {u"B"}}));
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[1].type, 2);
    for (const DownloadJob& job : jobs) {
        EXPECT_EQ(job.days, 2);
        EXPECT_EQ(job.user, u"jan");
        EXPECT_EQ(job.password, u"p");
    }
}

TEST(ReadAccounts, LeaveOutAccountsFilledOnlyFromFiles) {
    sqlite3x::connection con;
    con.open(u":memory:");
    con.execute(Schema::kCreateAccounts);
    for (const int32_t type : {3, Schema::kFileOnlyAccountType, 0}) {
        sqlite3x::command insert(con, Schema::kInsertAccount);
        const std::u16string number(26, char16_t(u'1' + type + 1));
        for (const int i : {1, 2, 3, 4}) {
            insert.bind_text(i, i == 1 ? number : u"x");
        }
        insert.bind_int(5, type);
        insert.execute();
    }
    EXPECT_EQ(DownloadJobBuilder::ReadAllAccounts(con).size(), 2u);
    EXPECT_EQ(DownloadJobBuilder::ReadAccountsByName(con).size(), 2u);
    EXPECT_TRUE(DownloadJobBuilder::ReadAccount(con, std::u16string(26, u'1')).empty());
}

}  // namespace
