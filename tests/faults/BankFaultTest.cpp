// SPDX-License-Identifier: GPL-3.0-or-later
// The bank misbehaving at each step of the conversation, end to end through the worker into a
// database file: every fault ends the job with its code and warning line within the module's
// time-outs, keeps what was stored before, and the next download works.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BankServer.h"
#include "FaultDownload.h"
#include "Schema.h"
#include "TempDir.h"

namespace {

// Two accounts of 14 operations in 60 days: two list pages each (10 per page).
const std::vector<std::string> kBankData = {"--seed",       "7",  "--accounts", "2",
                                            "--operations", "14", "--days",     "60"};
constexpr int32_t kDays = 90;
// The module gives up on a silent server after this many seconds.
const std::vector<std::string> kShortTimeOuts = {"connect_timeout=2", "low_speed_time=2"};

enum class Stored { Nothing, FirstAccount };

struct FaultCase {
    const char* name;
    std::vector<std::string> faults;  // --fault rules
    int32_t code;
    Stored stored;  // what the failed download adds
    bool untrustedCertificate = false;
    bool wrongPassword = false;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

std::u16string explanation(int32_t code) {
    switch (code) {
        case -1:
            return u"błąd połaczenia";
        case -3:
            return u"błąd parsowania (możliwe błędne hasło)";
        case -7:
            return u"błąd pobierania danych";
        default:
            return u"?";
    }
}

std::u16string warningLine(const std::string& account, int32_t code) {
    return u"OSTRZEŻENIE: Podczas próby pobrania historii operacji z konta\r\n'" + Widen(account) +
           u"' wystąpił błąd o kodzie " + Widen(std::to_string(-code)) + u", co oznacza:\r\n" +
           explanation(code);
}

// Rows from earlier downloads, which no failure may touch.
std::set<OperationKey> storeEarlierRows(sqlite3x::connection& db,
                                        const std::vector<std::string>& accounts) {
    std::set<OperationKey> keys;
    int32_t tid = 990001;
    for (const std::string& account : accounts) {
        for (int i = 0; i < 3; ++i, ++tid) {
            sqlite3x::command insert(db, Schema::kInsertOperation);
            insert.bind_text(1, u"11222233334444555566667777");
            insert.bind_text(2, u"Wcześniejszy kontrahent");
            insert.bind_text(3, u"Wcześniejszy tytuł");
            insert.bind_double(4, -10.5 * (i + 1));
            insert.bind_int(5, tid);
            insert.bind_int(6, 0);
            insert.bind_int64(7, 1600000000);
            insert.bind_int64(8, 1600000000);
            insert.bind_text(9, Widen(account));
            insert.bind_text(10, u"");
            insert.bind_int(11, 3);
            insert.execute();
            keys.emplace(Widen(account), tid);
        }
    }
    return keys;
}

std::vector<std::string> faultArguments(const FaultCase& c) {
    std::vector<std::string> args = kBankData;
    for (const std::string& rule : c.faults) {
        args.push_back("--fault");
        args.push_back(rule);
    }
    return args;
}

class BankFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(BankFault, GivesItsCodeKeepsEarlierRowsAndTheNextDownloadWorks) {
    const FaultCase& c = GetParam();
    TempDir data;
    sqlite3x::connection db;
    Schema::OpenDatabase(db, (data.path() / "masterDatabase.sq3").u16string(),
                         [](const std::u16string&) {});

    std::set<OperationKey> expected;
    {
        BankServer bank(faultArguments(c));
        std::vector<std::string> conf = kShortTimeOuts;
        if (c.untrustedCertificate) {
            conf.push_back("cafile=");  // the system's store only, which does not know the bank
        }
        bank.installModule(conf);
        expected = storeEarlierRows(db, bank.accounts());
        if (c.stored == Stored::FirstAccount) {
            const auto first = ExpectedKeys(bank, bank.accounts()[0]);
            ASSERT_FALSE(first.empty());
            expected.insert(first.begin(), first.end());
        }
        DownloadJob job = OneJob(bank, kDays);
        if (c.wrongPassword) {
            job.password = u"zle-haslo";
        }
        DownloadOutcome outcome;
        RunDownload(db, bank.folder(), {job}, outcome);

        ASSERT_EQ(outcome.ui.warnings.size(), 1u) << "exactly one warning line";
        EXPECT_EQ(outcome.ui.warnings[0], warningLine(bank.accounts()[0], c.code));
        EXPECT_NE(std::find(outcome.ui.events.begin(), outcome.ui.events.end(), "finished"),
                  outcome.ui.events.end());
        EXPECT_LT(outcome.duration.count(), 20000) << "the job ends within the time-outs";
        EXPECT_EQ(StoredKeys(db), expected);
        EXPECT_EQ(RowCount(db), static_cast<int64_t>(expected.size())) << "no duplicates";
    }

    // The bank is well again: the next download stores everything, the earlier rows stay.
    BankServer healthy(kBankData);
    healthy.installModule(kShortTimeOuts);
    const auto all = ExpectedKeys(healthy);
    expected.insert(all.begin(), all.end());
    DownloadOutcome next;
    RunDownload(db, healthy.folder(), {OneJob(healthy, kDays)}, next);
    EXPECT_TRUE(next.ui.warnings.empty());
    EXPECT_EQ(StoredKeys(db), expected);
    EXPECT_EQ(RowCount(db), static_cast<int64_t>(expected.size()));
    EXPECT_EQ(IntegrityCheck(db), u"ok");
}

// Requests per download of the two accounts: "/" 1, "/logon.aspx" 1, "/accounts_list.aspx" 2,
// "/account_details.aspx" 2, "/account_oper_list.aspx" 3 + 3, "/account_oper_details.aspx"
// 14 + 14. A rule "@K" lets the first K requests to its path through.
const FaultCase kCases[] = {
    {"StartPage500", {"/:status=500"}, -7, Stored::Nothing},
    {"StartPage404", {"/:status=404"}, -7, Stored::Nothing},
    {"LogOn500", {"/logon.aspx:status=500"}, -7, Stored::Nothing},
    {"LogOn404", {"/logon.aspx:status=404"}, -7, Stored::Nothing},
    {"Accounts500", {"/accounts_list.aspx:status=500"}, -7, Stored::Nothing},
    {"Accounts404SecondAccount", {"/accounts_list.aspx:status=404@1"}, -7, Stored::FirstAccount},
    {"Account500", {"/account_details.aspx:status=500"}, -3, Stored::Nothing},
    {"Account404SecondAccount", {"/account_details.aspx:status=404@1"}, -3, Stored::FirstAccount},
    {"List500", {"/account_oper_list.aspx:status=500"}, -3, Stored::Nothing},
    {"List404OlderPage", {"/account_oper_list.aspx:status=404@2"}, -3, Stored::Nothing},
    {"List500SecondAccount", {"/account_oper_list.aspx:status=500@3"}, -3, Stored::FirstAccount},
    {"Details500", {"/account_oper_details.aspx:status=500"}, -3, Stored::Nothing},
    {"Details404Middle", {"/account_oper_details.aspx:status=404@7"}, -3, Stored::Nothing},
    {"Details500SecondAccount",
     {"/account_oper_details.aspx:status=500@14"},
     -3,
     Stored::FirstAccount},
    {"ResetInListPage", {"/account_oper_list.aspx:reset=3000@1"}, -3, Stored::Nothing},
    {"ResetInDetailsPage", {"/account_oper_details.aspx:reset=1500@16"}, -3, Stored::FirstAccount},
    {"SilentStartPage", {"/:delay=60"}, -7, Stored::Nothing},
    {"SilentDetailsPage", {"/account_oper_details.aspx:delay=60@20"}, -3, Stored::FirstAccount},
    {"OversizedListPage", {"/account_oper_list.aspx:oversize=12@1"}, -3, Stored::Nothing},
    {"OversizedDetailsPage",
     {"/account_oper_details.aspx:oversize=12@15"},
     -3,
     Stored::FirstAccount},
    {"ChangedSite", {"*:nomarkers"}, -3, Stored::Nothing},
    {"ChangedSiteAfterLogOn", {"/account_oper_list.aspx:nomarkers@3"}, -3, Stored::FirstAccount},
    {"ChangedDetailsPages", {"/account_oper_details.aspx:nomarkers@14"}, -3, Stored::FirstAccount},
    // The second account's list offers older pages for ever: the walk stops at the first repeat.
    {"EndlessOlderPages", {"/account_oper_list.aspx:endless@3"}, -3, Stored::FirstAccount},
    {"UntrustedCertificate", {}, -7, Stored::Nothing, true},
    {"WrongPassword", {}, -3, Stored::Nothing, false, true},
};

INSTANTIATE_TEST_SUITE_P(Faults, BankFault, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
