// SPDX-License-Identifier: GPL-3.0-or-later
// The bank module against a bank that fails: error statuses, dropped connections, silence,
// oversized pages, changed markup and a certificate that is not trusted.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "BankServer.h"
#include "ModuleHandle.h"
#include "ModuleQuery.h"

namespace {

struct FaultCase {
    const char* name;
    std::vector<std::string> fault;  // bank arguments
    int32_t result;
    int delivered;  // operations delivered, of 12; -1: do not check
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class FaultTest : public ::testing::TestWithParam<FaultCase> {};

std::vector<std::string> bankArguments(const std::vector<std::string>& fault) {
    std::vector<std::string> arguments = {"--accounts", "1", "--operations", "12"};
    arguments.insert(arguments.end(), fault.begin(), fault.end());
    return arguments;
}
}  // namespace

TEST_P(FaultTest, EndsWithTheRightCode) {
    BankServer bank(bankArguments(GetParam().fault));
    ModuleHandle module(bank.installModule({"low_speed_time=2", "connect_timeout=2"}));
    ModuleQuery query(bank.user(), bank.password(), bank.accounts(), 400);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(query.run(module), GetParam().result);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    if (GetParam().delivered >= 0) {
        EXPECT_EQ(query.operations.size(), size_t(GetParam().delivered));
    }
    EXPECT_EQ(query.percents().back(), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Bank, FaultTest,
    ::testing::Values(
        FaultCase{"LogOnPage500", {"--fail-path", "/", "--fail-status", "500"}, -7, 0},
        FaultCase{"AccountsPage500",
                  {"--fail-path", "/accounts_list.aspx", "--fail-status", "500"},
                  -7,
                  0},
        FaultCase{"AccountForm404", {"--fault", "/account_details.aspx:status=404"}, -3, 0},
        FaultCase{"ThirdDetailsPage500",
                  {"--fail-path", kDetailsPath, "--fail-status", "500", "--fail-after", "2"},
                  -3,
                  0},
        FaultCase{"ListPageReset", {"--fault", "/account_oper_list.aspx:reset=1500@1"}, -3, 0},
        FaultCase{"DetailsPageReset", {"--fault", "/account_oper_details.aspx:reset=300@5"}, -3, 0},
        FaultCase{"SilentDetailsPage", {"--fault", "/account_oper_details.aspx:delay=12@1"}, -3, 0},
        FaultCase{"AccountsWithoutMarkers", {"--fault", "/accounts_list.aspx:nomarkers"}, -3, 0},
        // A changed site is a failure, not an empty history.
        FaultCase{"ListWithoutMarkers", {"--fault", "/account_oper_list.aspx:nomarkers"}, -3, 0},
        FaultCase{
            "DetailsWithoutMarkers", {"--fault", "/account_oper_details.aspx:nomarkers"}, -3, 0},
        // The last page repeated as an older one, for ever.
        FaultCase{"EndlessOlderPages", {"--fault", "/account_oper_list.aspx:endless"}, -3, 0}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST(BankFault, OversizedDetailsPageCostsOnlyThatOperation) {
    BankServer bank({"--accounts", "1", "--operations", "5", "--fault",
                     std::string(kDetailsPath) + ":oversize=12@3"});
    ModuleHandle module(bank.installModule());
    ModuleQuery query(bank.user(), bank.password(), bank.accounts(), 400);
    const int32_t result = query.run(module);
    // The page is cut at the module's limit, before its labels: either the request fails or the
    // operation is dropped for lack of dates; no half-read record is delivered.
    EXPECT_TRUE(result == 0 || result == -3) << result;
    if (result == 0) {
        EXPECT_EQ(query.operations.size(), 3u);
    }
    for (const DeliveredOperation& op : query.operations) {
        EXPECT_NE(op.tid, 0);
        EXPECT_FALSE(op.kindText.empty());
    }
}

// "Anuluj" while the bank says nothing: the request ends at once, not at the low-speed time-out.
TEST(BankFault, CancelEndsASilentRequest) {
    BankServer bank({"--accounts", "1", "--operations", "5", "--fault",
                     std::string(kDetailsPath) + ":delay=60@1"});
    ModuleHandle module(bank.installModule({"low_speed_time=20", "connect_timeout=20"}));
    ModuleQuery query(bank.user(), bank.password(), bank.accounts(), 400);
    std::thread user;
    std::chrono::steady_clock::time_point cancelled;
    query.onProgress = [&](const ProgressReport& report) {
        if (report.text.rfind("pobieranie szczegółow: 2 z", 0) == 0) {
            // A second into the request that the bank leaves unanswered.
            user = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                cancelled = std::chrono::steady_clock::now();
                module.setAbortFlag();
            });
        }
    };
    EXPECT_EQ(query.run(module), -8);
    const auto ended = std::chrono::steady_clock::now();
    ASSERT_TRUE(user.joinable());
    user.join();
    EXPECT_LT(ended - cancelled, std::chrono::seconds(10));
    EXPECT_EQ(query.percents().back(), 100);
}

TEST(BankFault, UntrustedCertificateIsNoDownload) {
    BankServer bank({"--accounts", "1", "--operations", "3"});
    BankServer other({"--accounts", "0"});
    // The conf trusts the other bank's certificate only.
    ModuleHandle module(bank.installModule({"cafile=" + other.certificateFile().string()}));
    ModuleQuery query(bank.user(), bank.password(), bank.accounts(), 400);
    EXPECT_EQ(query.run(module), -7);
    EXPECT_TRUE(query.operations.empty());
    EXPECT_TRUE(bank.requests().empty());
}

TEST(BankFault, SystemStoreDoesNotTrustTheBank) {
    BankServer bank({"--accounts", "1", "--operations", "3"});
    ModuleHandle module(bank.installModule({"cafile="}));
    ModuleQuery query(bank.user(), bank.password(), bank.accounts(), 400);
    EXPECT_EQ(query.run(module), -7);
    EXPECT_TRUE(query.operations.empty());
    EXPECT_TRUE(bank.requests().empty());
}
