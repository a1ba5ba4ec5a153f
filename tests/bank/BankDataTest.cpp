// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated bank's own logic: its generated data, the expectations it writes into the dump,
// its data file and its fault rules. The end-to-end tests trust these.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "CivilDate.h"
#include "DataFile.h"
#include "DataGenerator.h"
#include "FaultPlan.h"
#include "KindTable.h"
#include "Nrb.h"
#include "TextCodec.h"

namespace {
BankOperation operation(const std::string& kind, int64_t grosze, bool negative) {
    BankOperation op;
    op.tid = 1;
    op.kindText = kind;
    op.grosze = grosze;
    op.negative = negative;
    op.counterpartyAccount = "12 1020 0000 0000 0000 0000 0001";
    op.counterpartyName = "Jan  Kowalski";
    op.title = "Czynsz";
    return op;
}
}  // namespace

struct HistorySize {
    int operations;
    int days;
};

class GeneratedHistoryTest : public ::testing::TestWithParam<HistorySize> {};

// Exactly the asked number of operations per account within the asked days, every rule of the
// table (and "no rule") once there are enough of them, and texts that ISO-8859-2 shows whole.
TEST_P(GeneratedHistoryTest, HasTheAskedSizeAndEveryRule) {
    GeneratorSettings settings;
    settings.accounts = 2;
    settings.operations = GetParam().operations;
    settings.days = GetParam().days;
    const BankData data = DataGenerator(settings).generate();
    ASSERT_EQ(data.accounts.size(), 2u);
    std::set<int32_t> tids;
    for (const BankAccount& account : data.accounts) {
        EXPECT_TRUE(IsValidNRB(std::u16string(account.nrb.begin(), account.nrb.end())));
        EXPECT_EQ(account.nrb.substr(2, 8), "19900003");
        ASSERT_EQ(account.operations.size(), static_cast<size_t>(settings.operations));
        std::set<int> rules;
        for (size_t i = 0; i < account.operations.size(); ++i) {
            const BankOperation& op = account.operations[i];
            const ExpectedRecord expected = KindTable::Expect(op);
            rules.insert(expected.rule);
            if (expected.kind != 16) {  // a cancellation may be listed either way
                EXPECT_EQ(op.negative, expected.direction == 0) << op.kindText;
            }
            tids.insert(op.tid);
            EXPECT_GT(op.grosze, 0);
            EXPECT_LE(op.postingDay, CivilDate::Today());
            EXPECT_GE(op.postingDay, op.operationDay);
            EXPECT_GT(op.operationDay, CivilDate::Today() - settings.days);
            if (i > 0) {
                EXPECT_LE(op.operationDay, account.operations[i - 1].operationDay);
            }
            for (const std::string& text : {op.counterpartyName, op.title, op.place}) {
                EXPECT_EQ(TextCodec::Utf8ToLatin2(text).find('?'), std::string::npos) << text;
            }
        }
        if (settings.operations >= 28) {
            EXPECT_EQ(rules.size(), 27u);  // rules 1..26 and "no rule"
        }
    }
    EXPECT_EQ(tids.size(), 2u * settings.operations);
}

INSTANTIATE_TEST_SUITE_P(BankData, GeneratedHistoryTest,
                         ::testing::Values(HistorySize{0, 365}, HistorySize{3, 365},
                                           HistorySize{14, 60}, HistorySize{28, 1},
                                           HistorySize{45, 365}, HistorySize{150, 365},
                                           HistorySize{200, 365}, HistorySize{520, 700}));

// The demo's year: one employer pays about the same each month, the rent goes to one landlord
// at one amount, what goes to offices and the bank is money out, and a cancelled transfer gives
// back one sent before it.
TEST(BankData, DemoHistoryReadsLikeAPersonalAccount) {
    GeneratorSettings settings;
    settings.seed = 2012;
    const BankData data = DataGenerator(settings).generate();
    for (const BankAccount& account : data.accounts) {
        std::map<std::string, std::vector<int64_t>> salaries;
        std::set<std::string> landlords, salaryMonths;
        std::set<int64_t> rents;
        std::string texts;
        for (const BankOperation& op : account.operations) {
            texts += op.counterpartyName + op.title;
            const std::string month = CivilDate::Format(op.operationDay).substr(3);
            if (op.title.rfind("Wynagrodzenie", 0) == 0) {
                EXPECT_FALSE(op.negative);
                salaries[op.counterpartyName].push_back(op.grosze);
                salaryMonths.insert(month);
            } else if (op.kindText == "ZLECENIE STAŁE") {
                landlords.insert(op.counterpartyName);
                rents.insert(op.grosze);
            } else if (op.kindText == "ANULOWANIE PRZELEWU") {
                EXPECT_TRUE(std::any_of(
                    account.operations.begin(), account.operations.end(), [&](const auto& sent) {
                        return sent.tid < op.tid && sent.kindText == "PRZELEW WYCHODZĄCY" &&
                               sent.grosze == op.grosze && sent.title == op.title &&
                               sent.counterpartyName == op.counterpartyName;
                    }));
            } else if (op.counterpartyName == "ZAKŁAD UBEZPIECZEŃ SPOŁECZNYCH" ||
                       op.counterpartyName.find("Urząd") != std::string::npos) {
                EXPECT_TRUE(op.negative) << op.title;
            }
            if (KindTable::IsCard(op)) {
                EXPECT_FALSE(op.place.empty());
            }
        }
        ASSERT_EQ(salaries.size(), 1u);
        EXPECT_GE(salaryMonths.size(), 11u);
        const auto [low, high] =
            std::minmax_element(salaries.begin()->second.begin(), salaries.begin()->second.end());
        EXPECT_LT(*high - *low, *low / 5);
        EXPECT_EQ(landlords.size(), 1u);
        EXPECT_EQ(rents.size(), 1u);
        EXPECT_NE(texts.find('"'), std::string::npos);  // quotes the module removes
        EXPECT_NE(texts.find('\''), std::string::npos);
    }
}

TEST(BankData, SameSeedSameHistory) {
    GeneratorSettings settings;
    settings.seed = 42;
    const BankData a = DataGenerator(settings).generate();
    const BankData b = DataGenerator(settings).generate();
    ASSERT_EQ(a.accounts.size(), b.accounts.size());
    EXPECT_EQ(a.accounts[1].nrb, b.accounts[1].nrb);
    EXPECT_EQ(a.accounts[1].operations.back().title, b.accounts[1].operations.back().title);
}

struct ExpectCase {
    const char* kind;
    bool negative;
    int rule;
    int code;
    int direction;
    const char* amountText;
    const char* name;
    const char* account;
};

class ExpectTest : public ::testing::TestWithParam<ExpectCase> {};

TEST_P(ExpectTest, FollowsTheClassificationTable) {
    const ExpectCase& c = GetParam();
    const ExpectedRecord e = KindTable::Expect(operation(c.kind, 123456, c.negative));
    EXPECT_EQ(e.rule, c.rule);
    EXPECT_EQ(e.kind, c.code);
    EXPECT_EQ(e.direction, c.direction);
    EXPECT_EQ(e.amountText, c.amountText);
    EXPECT_EQ(e.counterpartyName, c.name);
    EXPECT_EQ(e.counterpartyAccount, c.account);
    EXPECT_TRUE(e.delivered);
}

INSTANTIATE_TEST_SUITE_P(
    BankData, ExpectTest,
    ::testing::Values(ExpectCase{"PRZELEW PRZYCHODZĄCY", false, 5, 1, 1, "1234,56", "Jan Kowalski",
                                 "12102000000000000000000001"},
                      ExpectCase{"OPŁATA PRZELEW ZEWNĘTRZNY WYCHODZĄCY", true, 17, 7, 0, "-1234,56",
                                 "* Opłata (przelew zewn.)", ""},
                      ExpectCase{"ANULOWANIE PRZELEWU", true, 14, 16, 1, "1234,56",
                                 "* Anulowanie przelewu", "12102000000000000000000001"},
                      ExpectCase{"ZLECENIE STAŁE", true, 0, 0, 0, "-1234,56", "Jan Kowalski",
                                 "12102000000000000000000001"},
                      ExpectCase{"ODSETKI LOKAT TERMINOWYCH", false, 3, 6, 1, "1234,56",
                                 "* Odsetki", ""}));

TEST(BankData, TopUpOperatorsChangeTheOutgoingTransferCode) {
    BankOperation op = operation("PRZELEW WYCHODZĄCY", 1000, true);
    op.counterpartyName = "BLUE MEDIA S.A.";
    EXPECT_EQ(KindTable::Expect(op).kind, 13);
    op.counterpartyName = "BLUE MEDIA dla QXL";
    EXPECT_EQ(KindTable::Expect(op).kind, 17);
}

TEST(BankData, CardOperationTakesThePlaceAsTitleAndZeroIsNotDelivered) {
    BankOperation op = operation("ZAKUP PRZY UŻYCIU KARTY", 1999, true);
    op.title.clear();
    op.cardNumber = "423456******1234";
    op.place = "ŁÓDŹ KROPLA";
    ExpectedRecord e = KindTable::Expect(op);
    EXPECT_EQ(e.kind, 9);
    EXPECT_EQ(e.counterpartyAccount, "423456******1234");
    EXPECT_EQ(e.title, "ŁÓDŹ KROPLA");
    EXPECT_EQ(e.amountText, "-19,99");
    op.grosze = 0;
    EXPECT_FALSE(KindTable::Expect(op).delivered);
}

TEST(BankData, LongTitleIsCutTo139CharactersBeforeQuotesGo) {
    BankOperation op = operation("PRZELEW PRZYCHODZĄCY", 100, false);
    op.title = "\"";
    for (int i = 0; i < 150; ++i) {
        op.title += "ś";
    }
    const ExpectedRecord e = KindTable::Expect(op);
    std::string expected;
    for (int i = 0; i < 138; ++i) {
        expected += "ś";
    }
    EXPECT_EQ(e.title, expected);
}

TEST(BankData, DataFileRoundTripsThroughTheDump) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tavro-bank-data-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    {
        std::ofstream file(folder / "data.txt");
        file << "# test data\naccount\t98199000030010594833119289\tKonto\n"
                "op\t98199000030010594833119289\t501\t-3\t-2\t-1 234,5\tPRZELEW WYCHODZĄCY\t"
                "12 1020\tFirma \"X\"\tTytuł\t\t\n"
                "op\t98199000030010594833119289\t502\t05-03-2010\t05-03-2010\t0,00\tOPŁATA ZA "
                "POWIADOMIENIA SMS\t\tBank\tSMS\t\t\n";
    }
    const BankData data = DataFile::Read((folder / "data.txt").string(), "u", "p");
    ASSERT_EQ(data.accounts.size(), 1u);
    ASSERT_EQ(data.accounts[0].operations.size(), 2u);
    const BankOperation& newest = data.accounts[0].operations[0];
    EXPECT_EQ(newest.tid, 501);
    EXPECT_EQ(newest.operationDay, CivilDate::Today() - 3);
    EXPECT_EQ(newest.grosze, 123450);
    EXPECT_TRUE(newest.negative);
    DataFile::WriteDump((folder / "dump.txt").string(), data);
    std::ifstream dump(folder / "dump.txt");
    std::string text((std::istreambuf_iterator<char>(dump)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\t1\t3\t0\t-1234,50\t121020\tFirma X\tTytuł\n"), std::string::npos);
    EXPECT_NE(text.find("\t0\t21\t0\t0,00\t\t* Opłata za powiadomienie SMS\tSMS\n"),
              std::string::npos);
    std::filesystem::remove_all(folder);
    EXPECT_THROW(DataFile::Read((folder / "missing").string(), "u", "p"), std::runtime_error);
}

TEST(BankData, FaultRulesParse) {
    const FaultRule rule = FaultPlan::Parse("/account_oper_details.aspx:status=500@2");
    EXPECT_EQ(rule.path, "/account_oper_details.aspx");
    EXPECT_EQ(rule.kind, FaultKind::Status);
    EXPECT_EQ(rule.value, 500);
    EXPECT_EQ(rule.after, 2);
    EXPECT_EQ(FaultPlan::Parse("*:oversize").value, 12);
    EXPECT_EQ(FaultPlan::Parse("/:nomarkers").kind, FaultKind::NoMarkers);
    EXPECT_THROW(FaultPlan::Parse("/:explode"), std::invalid_argument);
    EXPECT_THROW(FaultPlan::Parse("/:status=42"), std::invalid_argument);
    EXPECT_THROW(FaultPlan::Parse("nopath"), std::invalid_argument);

    FaultPlan plan;
    plan.add(rule);
    EXPECT_TRUE(plan.onRequest("/account_oper_details.aspx").empty());
    EXPECT_TRUE(plan.onRequest("/account_oper_details.aspx").empty());
    EXPECT_EQ(plan.onRequest("/account_oper_details.aspx").size(), 1u);
    EXPECT_TRUE(plan.onRequest("/").empty());
}

TEST(BankData, MonthsBeforeClampsToTheMonthLength) {
    EXPECT_EQ(CivilDate::Format(CivilDate::MonthsBefore(CivilDate::FromCivil(2010, 3, 31), 1)),
              "28-02-2010");
    EXPECT_EQ(CivilDate::Format(CivilDate::MonthsBefore(CivilDate::FromCivil(2010, 1, 15), 13)),
              "15-12-2008");
}
