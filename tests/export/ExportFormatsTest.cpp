// The OFX and CSV writers read back by real readers, and the files an export writes.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "CsvExportWriter.h"
#include "ExportFiles.h"
#include "ExportReaders.h"
#include "OfxExportWriter.h"

namespace {

constexpr int64_t kNov5 = 1320490800;  // noon, Warsaw, 05-11-2011 (CET)
constexpr int64_t kJul1 = 1719828000;  // noon, Warsaw, 01-07-2024 (CEST)
const std::u16string kOwn = u"61109010140000071219812874";

StoredOperation op(int32_t tid, int32_t kind, double amount, std::u16string name = {},
                   std::u16string title = {}, int64_t booked = kNov5) {
    return {tid,
            kOwn,
            u"Konto; \"główne\"",
            u"73111111111111111111111111",
            booked - 86400,
            booked,
            name,
            amount < 0 ? 0 : 1,
            kind,
            title,
            amount};
}

const std::vector<StoredOperation> kSample = {
    op(101, 9, -12.5, u"Żabka & <Spółka> Sp. z o.o. oddział Kraków", u"Zakupy\r\nkartą"),
    op(102, 1, 1500.75, u"Jan \"Kowalski\"", u"Wynagrodzenie; listopad", kJul1), op(-7, 0, -0.001)};

std::string save(const QTemporaryDir& dir, const std::string& bytes) {
    const std::string path = (dir.path() + "/export").toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// As ofxdump prints a time: "Mon Jul  1 12:00:00 2024 CEST".
std::string dumpTime(int64_t seconds) {
    const std::time_t t = seconds;
    std::tm local{};
    char text[64];
    return {text, std::strftime(text, sizeof text, "%a %b %e %T %Y %Z", localtime_r(&t, &local))};
}

}  // namespace

TEST(OfxExport, OfxdumpReadsEveryTransactionAsWritten) {
    QTemporaryDir dir;
    const OfxDump dump = RunOfxDump(save(dir, OfxExportWriter::Document(kOwn, kSample, kJul1)));
    ASSERT_TRUE(dump.ran);
    EXPECT_TRUE(dump.problems.empty()) << dump.problems.front();
    EXPECT_EQ(dump.statement.at("Ledger balance"), "1488.25");
    EXPECT_EQ(dump.statement.at("Start date of this statement"), dumpTime(kNov5));
    ASSERT_EQ(dump.transactions.size(), kSample.size());
    const char* const amounts[] = {"-12.50", "1500.75", "0.00"};
    const char* const types[] = {"POS", "XFER", "CREDIT"};
    const char* const names[] = {"Żabka & <Spółka> Sp. z o.o. oddz", "Jan \"Kowalski\"", nullptr};
    const char* const memos[] = {"Zakupy  kartą", "Wynagrodzenie; listopad", nullptr};
    for (size_t i = 0; i < kSample.size(); ++i) {
        OfxDump::Block t = dump.transactions[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(t["Financial institution's ID for this transaction"],
                  "61109010140000071219812874-" + std::to_string(kSample[i].tid));
        EXPECT_EQ(t["Total money amount"], amounts[i]);
        EXPECT_EQ(t["Transaction type"].substr(0, t["Transaction type"].find(':')), types[i]);
        // Summer and winter dates alike: a wrong offset would move the time of day.
        EXPECT_EQ(t["Date posted"], dumpTime(kSample[i].bookingDate));
        EXPECT_EQ(t["Date initiated"], dumpTime(kSample[i].operationDate));
        EXPECT_EQ(t["Name of payee or transaction description"], names[i] ? names[i] : "");
        EXPECT_EQ(t["Extra transaction information (memo)"], memos[i] ? memos[i] : "");
    }
}

struct TypeCase {
    int32_t kind;
    double amount;
    const char* type;
};
class OfxType : public ::testing::TestWithParam<TypeCase> {};
TEST_P(OfxType, FromKindElseFromSign) {
    const TypeCase& c = GetParam();
    EXPECT_STREQ(OfxExportWriter::TransactionType(op(1, c.kind, c.amount)), c.type);
}
INSTANTIATE_TEST_SUITE_P(Kinds, OfxType,
                         ::testing::Values(TypeCase{10, -1, "ATM"}, TypeCase{14, 1, "ATM"},
                                           TypeCase{21, -1, "FEE"}, TypeCase{5, -1, "INT"},
                                           TypeCase{3, -1, "XFER"}, TypeCase{2, -1, "DEBIT"},
                                           TypeCase{20, 1, "CREDIT"}, TypeCase{99, -1, "DEBIT"}));

TEST(CsvExport, StrictReaderGetsTheFieldsBack) {
    QTemporaryDir dir;
    const std::string bytes = CsvExportWriter::Document(kSample);
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBFIdentyfikator;Numer rachunku;", 0), 0u);
    std::string error;
    const auto rows = ReadCsv(save(dir, bytes), error);
    ASSERT_EQ(rows.size(), 4u) << error;
    EXPECT_EQ(rows[1],
              (std::vector<std::string>{
                  "61109010140000071219812874-101", "61109010140000071219812874",
                  "Konto; \"główne\"", "2011-11-04", "2011-11-05",
                  "Żabka & <Spółka> Sp. z o.o. oddział Kraków", "73111111111111111111111111",
                  "Zakupy\r\nkartą", "-12,50", "Karta płatnicza", "Obciążenie"}));
    EXPECT_EQ(rows[2][7] + "|" + rows[2][8] + "|" + rows[2][10],
              "Wynagrodzenie; listopad|1500,75|Uznanie");
    EXPECT_EQ(rows[3][8] + "|" + rows[3][9], "0,00|");
}

TEST(ExportFiles, AccountsSharingTheirLastDigitsGetTheWholeNumber) {
    auto ops = kSample;
    ops[1].ownAccount = u"04000000000000000000002874";
    const auto files = ExportFiles::Build(ExportFormat::Ofx, "/x/w.ofx", ops, kNov5);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[1].path, "/x/w-04000000000000000000002874.ofx");
}

TEST(ExportFiles, OneFailureLeavesNoFileAtAll) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("b.ofx"));  // cannot be replaced by a file
    const auto outcome = ExportFiles::Write({{(dir.path() + "/a.ofx").toStdString(), "A"},
                                             {(dir.path() + "/b.ofx").toStdString(), "B"}});
    EXPECT_EQ(outcome.failure, ExportFiles::Failure::Open);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"b.ofx"});
}
