// SPDX-License-Identifier: GPL-3.0-or-later
// Code pages, the checks a file must pass, the import keys, and Tavro's own exports read back.
#include <gtest/gtest.h>

#include "CsvExportWriter.h"
#include "ImportError.h"
#include "ImportKeys.h"
#include "OfxExportWriter.h"
#include "StatementChecks.h"
#include "StatementReader.h"
#include "StatementSamples.h"
#include "StatementValues.h"
#include "TextDecoding.h"
#include "XmlExportWriter.h"

#include <QString>

using namespace StatementSamples;

namespace {

const std::string kChecked = Nrb("102010260000042270201111");
const char kPolish[] = "Zażółć gęślą jaźń. ZAŻÓŁĆ GĘŚLĄ JAŹŃ";

struct CodePageCase {
    const char* iconvName;
    TextEncoding encoding;
};

class CodePages : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(CodePages, AreToldFromThePolishLetters) {
    const std::string bytes = Encoded(kPolish, GetParam().iconvName);
    EXPECT_EQ(TextDecoding::Detect(bytes), GetParam().encoding);
    EXPECT_EQ(TextDecoding::DecodeDetected(bytes).toStdString(), kPolish);
}

INSTANTIATE_TEST_SUITE_P(Pages, CodePages,
                         ::testing::Values(CodePageCase{"UTF-8", TextEncoding::Utf8},
                                           CodePageCase{"WINDOWS-1250", TextEncoding::Windows1250},
                                           CodePageCase{"ISO-8859-2", TextEncoding::Iso88592},
                                           CodePageCase{"CP852", TextEncoding::Cp852}));

struct AccountCase {
    std::string written;
    std::optional<std::u16string> given;
    std::string expected;  // empty: refused
};

class OwnAccounts : public ::testing::TestWithParam<AccountCase> {};

TEST_P(OwnAccounts, AreNormalisedToTheNrb) {
    Statement statement;
    statement.account = QString::fromStdString(GetParam().written).toStdU16String();
    if (GetParam().expected.empty()) {
        EXPECT_THROW(StatementChecks::OwnAccount(statement, GetParam().given), ImportError);
        return;
    }
    EXPECT_EQ(QString::fromStdU16String(StatementChecks::OwnAccount(statement, GetParam().given))
                  .toStdString(),
              GetParam().expected);
}

std::u16string u16(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

INSTANTIATE_TEST_SUITE_P(
    Written, OwnAccounts,
    ::testing::Values(AccountCase{"/PL" + kChecked, std::nullopt, kChecked},
                      AccountCase{"pl" + kChecked.substr(0, 2) + " " + kChecked.substr(2, 4) + "-" +
                                      kChecked.substr(6),
                                  std::nullopt, kChecked},
                      AccountCase{"BREXPLPW/" + kChecked, u16(kChecked), kChecked},
                      AccountCase{"", u16(kChecked), kChecked},
                      AccountCase{"12345", u16(kChecked), kChecked},
                      AccountCase{"12345", std::nullopt, ""}, AccountCase{"", std::nullopt, ""},
                      AccountCase{kChecked, u16(Nrb("114020040000350200000001")), ""}));

TEST(Checks, BalanceThatDoesNotAgreeNamesTheStatementAndBothFigures) {
    Statement statement;
    statement.account = u16(kChecked);
    statement.reference = u"WYC/5";
    statement.openingBalance = 10000;
    statement.closingBalance = 8000;
    StatementOperation op;
    op.amount = -1999;
    statement.operations.push_back(op);
    op.amount = -5000;
    op.booked = false;  // pending: not part of the balance
    statement.operations.push_back(op);
    const auto message = StatementChecks::BalanceMismatch(statement);
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("„WYC/5”"), std::string::npos) << *message;
    EXPECT_NE(message->find("80,01 zł"), std::string::npos) << *message;
    EXPECT_NE(message->find("80,00 zł"), std::string::npos) << *message;
    statement.operations[0].amount = -2000;
    EXPECT_FALSE(StatementChecks::BalanceMismatch(statement));
    StatementFile file;
    file.statements = {statement};
    file.statements[0].closingBalance = 1;
    EXPECT_THROW(StatementChecks::CheckFile(file, std::nullopt, false), ImportError);
    EXPECT_NO_THROW(StatementChecks::CheckFile(file, std::nullopt, true));
    file.statements[0].currency = u"EUR";
    try {
        StatementChecks::CheckFile(file, std::nullopt, true);
        FAIL();
    } catch (const ImportError& error) {
        EXPECT_NE(std::string(error.what()).find("EUR"), std::string::npos);
    }
}

TEST(ImportKeysTest, IdenticalOperationsGetTwoKeysAndIdentifiersWin) {
    StatementOperation coffee;
    coffee.bookingDate = *StatementValues::Noon(2024, 2, 1);
    coffee.amount = -1200;
    coffee.title = u"Kawa  MAŁA";
    StatementOperation same = coffee;
    same.title = u"kawa mała";
    StatementOperation other = coffee;
    other.amount = -1201;
    StatementOperation identified = coffee;
    identified.fileId = u"X-1";
    const auto keys = ImportKeys::ForAccount({&coffee, &same, &other, &identified, &identified});
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(keys[0].substr(0, 3), u"fp:");
    EXPECT_EQ(keys[1], keys[0].substr(0, keys[0].size() - 1) + u"2");
    EXPECT_NE(keys[2].substr(0, keys[2].size() - 2), keys[0].substr(0, keys[0].size() - 2));
    EXPECT_EQ(keys[3], u"id:X-1#1");
    EXPECT_EQ(keys[4], u"id:X-1#2");
}

std::vector<StoredOperation> exported() {
    StoredOperation a;
    a.tid = 4711;
    a.ownAccount = u16(kChecked);
    a.ownAccountName = u"Konto „codzienne”; główne";
    a.counterpartyAccount = u"11402004000035020000000101";
    a.operationDate = *StatementValues::Noon(2023, 12, 30);
    a.bookingDate = *StatementValues::Noon(2024, 1, 2);
    a.counterpartyName = u"* Zapłata kartą";
    a.direction = 0;
    a.kind = 9;
    a.title = u"Sklep \"Łódź\";\r\nlinia druga\tz tabulatorem";
    a.amount = -123.45;
    StoredOperation b = a;
    b.tid = -3;
    b.kind = 21;
    b.direction = 1;
    b.amount = 0.5;
    b.title = u"";
    return {a, b};
}

class OwnExports : public ::testing::TestWithParam<StatementFormat> {};

TEST_P(OwnExports, ReadBackWhole) {
    const auto ops = exported();
    const std::string bytes = GetParam() == StatementFormat::OwnCsv
                                  ? CsvExportWriter::Document(ops)
                                  : XmlExportWriter::Document(ops);
    const StatementFile file = StatementReader::Read(bytes);
    ASSERT_EQ(file.format, GetParam());
    ASSERT_EQ(file.statements.size(), 1u);
    const auto& read = file.statements[0].operations;
    ASSERT_EQ(read.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read[i].tid, ops[i].tid);
        EXPECT_EQ(read[i].kind, ops[i].kind);
        EXPECT_EQ(read[i].direction, ops[i].direction);
        EXPECT_EQ(read[i].title, ops[i].title);
        EXPECT_EQ(read[i].counterpartyName, ops[i].counterpartyName);
        EXPECT_EQ(read[i].counterpartyAccount, ops[i].counterpartyAccount);
        EXPECT_EQ(read[i].operationDate, ops[i].operationDate);
        EXPECT_EQ(read[i].bookingDate, ops[i].bookingDate);
        EXPECT_EQ(read[i].amount, int64_t(ops[i].amount * 100 + (ops[i].amount < 0 ? -0.5 : 0.5)));
        EXPECT_EQ(read[i].fileId, kChecked.size() ? OfxExportWriter::FitId(ops[i]) : u"");
    }
    if (GetParam() == StatementFormat::OwnCsv) {
        EXPECT_EQ(file.statements[0].accountName, ops[0].ownAccountName);
    }
}

INSTANTIATE_TEST_SUITE_P(CsvAndXml, OwnExports,
                         ::testing::Values(StatementFormat::OwnCsv, StatementFormat::OwnXml));

TEST(OwnExportsTest, OfxGivesTheNumberFromTheIdentifier) {
    const auto ops = exported();
    const StatementFile file =
        StatementReader::Read(OfxExportWriter::Document(u16(kChecked), ops, ops[0].bookingDate));
    ASSERT_EQ(file.format, StatementFormat::Ofx);
    const auto& read = file.statements.at(0).operations;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].tid, 4711);
    EXPECT_EQ(read[1].tid, -3);
    EXPECT_EQ(read[0].kind, 9);
    EXPECT_EQ(read[0].operationDate, ops[0].operationDate);
}

}  // namespace
