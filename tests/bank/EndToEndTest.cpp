// SPDX-License-Identifier: GPL-3.0-or-later
// The bank module against the simulated bank over HTTPS on 127.0.0.1, loaded as the host loads it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>

#include "BankServer.h"
#include "ModuleHandle.h"
#include "ModuleQuery.h"
#include "Nrb.h"
#include "TempDir.h"

namespace {
// Valid check digits, routing number of the bank, but no such account there.
constexpr const char* kForeignAccount = "30199000039999999999999999";
// The same with wrong check digits: only the first account of a request is checked.
constexpr const char* kWrongCheckDigit = "53199000039999999999999999";

double amountOf(const std::string& text) {
    std::string number = text;
    std::replace(number.begin(), number.end(), ',', '.');
    return std::stod(number);
}

std::vector<DumpedOperation> expectedFor(const BankServer& bank, const std::string& account,
                                         const std::set<int>& skipped) {
    std::vector<DumpedOperation> expected;
    for (const DumpedOperation& op : bank.dump()) {
        if (op.account == account && op.delivered && skipped.count(op.tid) == 0) {
            expected.push_back(op);
        }
    }
    // The bank lists newest first; the module hands the oldest over first.
    std::reverse(expected.begin(), expected.end());
    return expected;
}

void expectSame(const DumpedOperation& want, const DeliveredOperation& got) {
    SCOPED_TRACE("operation " + std::to_string(want.tid));
    EXPECT_EQ(got.tid, want.tid);
    EXPECT_EQ(got.account, want.account);
    EXPECT_EQ(got.operationDate, ModuleQuery::NoonOf(want.operationDate));
    EXPECT_EQ(got.postingDate, ModuleQuery::NoonOf(want.postingDate));
    EXPECT_EQ(got.amountText, want.amountText);
    EXPECT_NEAR(got.amount, amountOf(want.amountText), 0.001);
    EXPECT_EQ(got.direction, want.direction);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.kindText, want.servedKindText);
    EXPECT_EQ(got.counterpartyAccount, want.counterpartyAccount);
    EXPECT_EQ(got.counterpartyName, want.counterpartyName);
    EXPECT_EQ(got.title, want.title);
}

// Every delivered operation, in order, is the one the bank served, with the expected texts.
void expectDelivered(const BankServer& bank, const std::vector<DeliveredOperation>& delivered,
                     const std::vector<std::string>& accounts, const std::set<int>& skipped = {}) {
    std::vector<DumpedOperation> expected;
    for (const std::string& account : accounts) {
        const std::vector<DumpedOperation> part = expectedFor(bank, account, skipped);
        expected.insert(expected.end(), part.begin(), part.end());
    }
    ASSERT_EQ(delivered.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        expectSame(expected[i], delivered[i]);
    }
}

struct Download {
    explicit Download(const std::vector<std::string>& bankArguments,
                      const std::vector<std::string>& conf = {})
        : bank(bankArguments), module(bank.installModule(conf)) {}
    ModuleQuery query(int days, std::vector<std::string> accounts = {}) const {
        return ModuleQuery(bank.user(), bank.password(),
                           accounts.empty() ? bank.accounts() : accounts, days);
    }
    BankServer bank;
    ModuleHandle module;
};
}  // namespace

TEST(EndToEnd, AccountWithoutOperationsReportsEveryStep) {
    Download d({"--accounts", "1", "--operations", "0"});
    ModuleQuery query = d.query(30);
    EXPECT_EQ(query.run(d.module), 0);
    EXPECT_EQ(query.percents(),
              (std::vector<int32_t>{2, 3, 5, 19, 23, 25, 28, 37, 46, 95, 99, 100}));
    ASSERT_EQ(query.progress.size(), 12u);
    EXPECT_TRUE(query.progress[6].hasText);
    EXPECT_EQ(query.progress[6].text, "Strona: 1");
    EXPECT_EQ(query.progress.back().account, d.bank.accounts()[0]);
    EXPECT_TRUE(query.operations.empty());
    EXPECT_TRUE(d.bank.requests("POST", kDetailsPath).empty());
    EXPECT_TRUE(d.bank.violations().empty());
}

TEST(EndToEnd, ThreeListPagesGiveOneDetailsRequestPerOperation) {
    Download d({"--accounts", "1", "--operations", "24", "--days", "60"});
    ModuleQuery query = d.query(90);
    ASSERT_EQ(query.run(d.module), 0);
    EXPECT_EQ(d.bank.requests("POST", kDetailsPath).size(), 24u);
    EXPECT_EQ(d.bank.requests("POST", kListPath).size(), 4u);  // default view + 3 pages
    std::vector<std::string> texts;
    for (const ProgressReport& report : query.progress) {
        if (report.hasText) {
            texts.push_back(report.text);
        }
    }
    ASSERT_EQ(texts.size(), 27u);
    EXPECT_EQ(texts[0], "Strona: 1");
    EXPECT_EQ(texts[1], "Strona: 2");
    EXPECT_EQ(texts[2], "Strona: 3");
    EXPECT_EQ(texts[3], "pobieranie szczegółow: 1 z 24");
    EXPECT_EQ(texts[26], "pobieranie szczegółow: 24 z 24");
    expectDelivered(d.bank, query.operations, d.bank.accounts());
    EXPECT_TRUE(d.bank.violations().empty());
}

TEST(EndToEnd, DeliveredRecordsMatchWhatTheBankServed) {
    Download d({"--accounts", "2", "--operations", "45", "--seed", "7"});
    ModuleQuery query = d.query(400);
    ASSERT_EQ(query.run(d.module), 0);
    expectDelivered(d.bank, query.operations, d.bank.accounts());
    std::set<int> kinds;
    for (const DeliveredOperation& op : query.operations) {
        kinds.insert(op.kind);
        EXPECT_EQ(op.amount < 0, op.direction == 0) << op.tid;
    }
    // Every kind of the table except 19 (never assigned) and the operator-dependent 13 and 17.
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 18, 20, 21, 22}) {
        EXPECT_TRUE(kinds.count(kind)) << "kind " << kind;
    }
    EXPECT_TRUE(d.bank.violations().empty());
}

TEST(EndToEnd, LongHistoryDownloadsCompletely) {
    Download d({"--accounts", "1", "--operations", "520", "--days", "700", "--seed", "3"});
    ModuleQuery query = d.query(999);
    ASSERT_EQ(query.run(d.module), 0);
    EXPECT_EQ(query.operations.size(), 520u);
    EXPECT_EQ(d.bank.requests("POST", kDetailsPath).size(), 520u);
    expectDelivered(d.bank, query.operations, d.bank.accounts());
    EXPECT_TRUE(d.bank.violations().empty());
}

class LaterAccountTest : public ::testing::TestWithParam<const char*> {};

// Whatever is wrong with it, a later account is looked for on the accounts page, not refused.
TEST_P(LaterAccountTest, NotOnTheAccountsPageDeliversTheFirstAndFails) {
    ASSERT_EQ(IsValidNRB(std::u16string(GetParam(), GetParam() + 26)),
              GetParam() == std::string(kForeignAccount));
    Download d({"--accounts", "1", "--operations", "12"});
    ModuleQuery query = d.query(400, {d.bank.accounts()[0], GetParam()});
    EXPECT_EQ(query.run(d.module), -3);
    expectDelivered(d.bank, query.operations, {d.bank.accounts()[0]});
    EXPECT_EQ(query.percents().back(), 100);
    EXPECT_EQ(d.bank.requests("GET", "/accounts_list.aspx").size(), 2u);
    EXPECT_TRUE(d.bank.violations().empty());
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, LaterAccountTest,
                         ::testing::Values(kForeignAccount, kWrongCheckDigit));

// A details page without its number costs only that operation; the rest of the account and the
// next account arrive.
TEST(EndToEnd, DetailsPagesWithoutANumberAreLeftOut) {
    Download d({"--accounts", "2", "--operations", "12", "--fault",
                std::string(kDetailsPath) + ":nonumber=2@4"});
    ModuleQuery query = d.query(400);
    ASSERT_EQ(query.run(d.module), 0);
    const std::vector<BankRequest> details = d.bank.requests("POST", kDetailsPath);
    ASSERT_EQ(details.size(), 24u);
    std::set<int> skipped;
    for (size_t i : {4, 5}) {
        // "oper=<number>;k=<token>"
        skipped.insert(std::stoi(details[i].field("__PARAMETERS").substr(5)));
    }
    ASSERT_EQ(skipped.size(), 2u);
    expectDelivered(d.bank, query.operations, d.bank.accounts(), skipped);
    EXPECT_TRUE(d.bank.violations().empty());
}

TEST(EndToEnd, AccountLinkStartingWithASlashGetsAnotherInFront) {
    Download d({"--accounts", "1", "--operations", "3", "--rooted-account-links"});
    ModuleQuery query = d.query(400);
    EXPECT_EQ(query.run(d.module), 0);
    EXPECT_EQ(query.operations.size(), 3u);
    EXPECT_EQ(d.bank.requests("POST", "//account_details.aspx").size(), 1u);
    EXPECT_TRUE(d.bank.violations().empty());
}

TEST(EndToEnd, WrongPasswordFailsAtTheAccountsPage) {
    Download d({"--accounts", "1", "--operations", "5"});
    ModuleQuery query(d.bank.user(), "zle-haslo", d.bank.accounts(), 30);
    EXPECT_EQ(query.run(d.module), -3);
    EXPECT_TRUE(query.operations.empty());
    EXPECT_EQ(d.bank.requests("GET", "/accounts_list.aspx").size(), 1u);
    EXPECT_TRUE(d.bank.requests("POST", "/account_details.aspx").empty());
    EXPECT_EQ(query.percents().back(), 100);
}

TEST(EndToEnd, LogOnAnsweredWithARedirectIsFollowed) {
    Download d({"--accounts", "1", "--operations", "3", "--redirect-logon"});
    ModuleQuery query = d.query(400);
    EXPECT_EQ(query.run(d.module), 0);
    EXPECT_EQ(query.operations.size(), 3u);
    EXPECT_EQ(d.bank.requests("GET", "/start.aspx").size(), 1u);
    EXPECT_TRUE(d.bank.violations().empty());
}

TEST(EndToEnd, LogOnPostsTheFormWithTheCredentials) {
    Download d(
        {"--accounts", "1", "--operations", "0", "--user", "jan.k", "--password", "Tajne haslo&1"});
    ModuleQuery query = d.query(10);
    EXPECT_EQ(query.run(d.module), 0);
    const std::vector<BankRequest> logons = d.bank.requests("POST", "/logon.aspx");
    ASSERT_EQ(logons.size(), 1u);
    EXPECT_EQ(logons[0].field("customer"), "jan.k");
    EXPECT_EQ(logons[0].field("password"), "Tajne haslo&1");
    EXPECT_NE(logons[0].body.find("password=Tajne+haslo%261"), std::string::npos);
    EXPECT_TRUE(d.bank.requests()[0].headers.at("referer").empty());
    for (const BankRequest& request : d.bank.requests()) {
        EXPECT_EQ(request.headers.at("version"), "HTTP/1.1") << request.path;
        EXPECT_EQ(request.headers.at("accept"), "-") << request.path;
    }
    EXPECT_EQ(logons[0].headers.at("referer"),
              "https://localhost:" + std::to_string(d.bank.port()) + "/");
    EXPECT_TRUE(d.bank.violations().empty());
}

struct DayCount {
    int days;
    const char* count;
    const char* unit;
};

class DayCountTest : public ::testing::TestWithParam<DayCount> {};

TEST_P(DayCountTest, ReachesTheBankAsCountAndUnit) {
    Download d({"--accounts", "1", "--operations", "2"});
    ModuleQuery query = d.query(GetParam().days);
    ASSERT_EQ(query.run(d.module), 0);
    const std::vector<BankRequest> lists = d.bank.requests("POST", kListPath);
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[1].field("lastdays_days"), GetParam().count);
    EXPECT_EQ(lists[1].field("lastdays_period"), GetParam().unit);
    EXPECT_EQ(lists[1].field("rangepanel_group"), "lastdays_radio");
    EXPECT_TRUE(d.bank.violations().empty());
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, DayCountTest,
                         ::testing::Values(DayCount{998, "998", "D"}, DayCount{999, "32", "M"},
                                           DayCount{1000, "32", "M"}, DayCount{31, "31", "D"}));

TEST(EndToEnd, PeriodLimitsWhatIsDelivered) {
    Download d({"--accounts", "1", "--operations", "40", "--days", "120"});
    ModuleQuery query = d.query(20);
    ASSERT_EQ(query.run(d.module), 0);
    // Twenty days: today and the nineteen before it (an hour's slack for a clock change).
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char today[16];
    std::strftime(today, sizeof today, "%d-%m-%Y", &local);
    const int64_t first = ModuleQuery::NoonOf(today) - 19 * 86400 - 3600;
    std::set<int> expected;
    for (const DumpedOperation& op : d.bank.dump()) {
        if (ModuleQuery::NoonOf(op.operationDate) >= first) {
            expected.insert(op.tid);
        }
    }
    std::set<int> delivered;
    for (const DeliveredOperation& op : query.operations) {
        delivered.insert(op.tid);
    }
    EXPECT_EQ(delivered, expected);
    EXPECT_LT(expected.size(), d.bank.dump().size());
}

TEST(EndToEnd, CancellingDuringTheSecondAccountKeepsTheFirst) {
    Download d({"--accounts", "2", "--operations", "15"});
    ModuleQuery query = d.query(400);
    int firstDetails = 0;
    query.onProgress = [&](const ProgressReport& report) {
        if (report.text.rfind("pobieranie szczegółow: 1 z", 0) == 0 && ++firstDetails == 2) {
            d.module.setAbortFlag();
        }
    };
    EXPECT_EQ(query.run(d.module), -8);
    expectDelivered(d.bank, query.operations, {d.bank.accounts()[0]});
    EXPECT_EQ(query.percents().back(), 100);
    // The flag was cleared: the next download runs through.
    ModuleQuery again = d.query(400);
    EXPECT_EQ(again.run(d.module), 0);
    expectDelivered(d.bank, again.operations, d.bank.accounts());
}

TEST(EndToEnd, NullOperationCallbackDownloadsEverythingAndDeliversNothing) {
    Download d({"--accounts", "1", "--operations", "12"});
    ModuleQuery query = d.query(400);
    query.deliver = false;
    EXPECT_EQ(query.run(d.module), 0);
    EXPECT_TRUE(query.operations.empty());
    EXPECT_EQ(d.bank.requests("POST", kDetailsPath).size(), 12u);
}

// Operations that test the module's clean-up: every one is compared with what the bank expects.
TEST(EndToEnd, DataFileEdgeCasesArriveCleaned) {
    TempDir folder;
    const std::string account = "98199000030010594833119289";
    {
        std::ofstream data(folder.path() / "data.txt");
        data << "account\t" << account << "\tKonto\n";
        const std::string operations[] = {
            // zero amount: not delivered
            "101\t-9\t-9\t0,00\tOPŁATA ZA POWIADOMIENIA SMS\t\tBank\tSMS\t\t",
            // cancelled transfer on an item marked as money out
            "102\t-8\t-8\t-250,00\tANULOWANIE PRZELEWU\t11 1140 2004 0000 3002 0135 5387\t"
            "Jan Kowalski\tZwrot\t\t",
            // thousands separator on money out, quotes in the name, a title beyond 139 characters
            "103\t-7\t-6\t-1 234 567,89\tPRZELEW WYCHODZĄCY\t11 1140 2004 0000 3002 0135 5387\t"
            "\"ŚĄŹ\" Sp. z o.o.\t" +
                std::string(150, 'x') + "\t\t",
            // a number longer than 27 characters, a title with markup in it
            "104\t-6\t-6\t-10,00\tPRZELEW WYCHODZĄCY\tPL61 1090 1014 0000 0712 1981 2874\t"
            "Anna\tFaktura <pilna>\t\t",
            // a name with markup and no title: the kind text becomes the title
            "105\t-5\t-5\t-12,00\tZLECENIE STAŁE\t\tFirma <b>X</b>\t\t\t",
            // card payment without a title
            "106\t-4\t-3\t-19,99\tZAKUP PRZY UŻYCIU KARTY\t\t\t\t423456******1234\tŁÓDŹ KROPLA",
            // top-up operators
            "107\t-3\t-3\t-20,00\tPRZELEW WYCHODZĄCY\t11 1140 2004 0000 3002 0135 5387\t"
            "DOLADOWANIA.PL\tTelefon\t\t",
            "108\t-2\t-2\t-30,00\tPRZELEW WYCHODZĄCY\t11 1140 2004 0000 3002 0135 5387\t"
            "BLUE MEDIA QXL\tAukcja\t\t",
        };
        for (const std::string& op : operations) {
            data << "op\t" << account << "\t" << op << "\n";
        }
    }
    Download d({"--data", (folder.path() / "data.txt").string()});
    ModuleQuery query = d.query(30);
    ASSERT_EQ(query.run(d.module), 0);
    expectDelivered(d.bank, query.operations, {account});
    ASSERT_EQ(query.operations.size(), 7u);
    EXPECT_DOUBLE_EQ(query.operations[0].amount, 250.0);
    EXPECT_DOUBLE_EQ(query.operations[1].amount, -1234567.89);
    EXPECT_EQ(query.operations[1].amountText, "-1234567,89");
    EXPECT_EQ(query.operations[1].counterpartyName, "ŚĄŹ Sp. z o.o.");
    EXPECT_EQ(query.operations[1].title.size(), 139u);
    EXPECT_EQ(query.operations[2].counterpartyAccount, "");
    EXPECT_EQ(query.operations[3].title, "ZLECENIE STAŁE");
    EXPECT_EQ(query.operations[5].kind, 13);
    EXPECT_EQ(query.operations[6].kind, 17);
    EXPECT_TRUE(d.bank.violations().empty());
}

TEST(EndToEnd, ModuleInformationNeedsRoomForTheTerminator) {
    BankServer bank({"--accounts", "0"});
    ModuleHandle module(bank.installModule());
    char16_t name[16] = {};
    char16_t credit[2048] = {};
    ModuleInfo info{sizeof(ModuleInfo), name, 8, credit, 2048};
    EXPECT_EQ(module.getIBInfo(5, &info), 0);
    EXPECT_EQ(name[0], u'\0');
    info.nameCapacity = 9;
    EXPECT_EQ(module.getIBInfo(5, &info), 1);
    EXPECT_EQ(std::u16string(name), u"Inteligo");
    EXPECT_EQ(module.getIBType()[0], 7);
}
