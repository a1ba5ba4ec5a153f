// The OFX and CSV writers, read back by real readers, and the file set an export writes.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "CWndExportCsvWriter.h"
#include "CWndExportFiles.h"
#include "CWndExportOfxWriter.h"
#include "ExportReaders.h"

namespace {

constexpr int64_t kNov5 = 1320490800;  // noon, Warsaw, 05-11-2011 (CET)
constexpr int64_t kJul1 = 1719828000;  // noon, Warsaw, 01-07-2024 (CEST)
const std::u16string kOwn = u"61109010140000071219812874";

ExportOperation op(int32_t tid, int32_t kind, double amount, std::u16string name,
                   std::u16string title, int64_t booked = kNov5) {
    ExportOperation o;
    o.tid = tid;
    o.ownAccount = kOwn;
    o.ownAccountName = u"Konto; \"główne\"";
    o.counterpartyAccount = u"73111111111111111111111111";
    o.operationDate = booked - 86400;
    o.bookingDate = booked;
    o.counterpartyName = std::move(name);
    o.direction = amount < 0 ? 0 : 1;
    o.kind = kind;
    o.title = std::move(title);
    o.amount = amount;
    return o;
}

std::vector<ExportOperation> sample() {
    return {op(101, 9, -12.5, u"Żabka & <Spółka> Sp. z o.o. oddział Kraków", u"Zakupy\r\nkartą"),
            op(102, 1, 1500.75, u"Jan \"Kowalski\"", u"Wynagrodzenie; listopad", kJul1),
            op(-7, 0, -0.001, u"", u"")};
}

std::string save(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    const std::string path = (dir.path() + "/" + name).toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

}  // namespace

TEST(OfxExport, OfxdumpReadsEveryTransactionAsWritten) {
    QTemporaryDir dir;
    const auto ops = sample();
    const OfxDump dump =
        RunOfxDump(save(dir, "a.ofx", CWndExportOfxWriter::Document(kOwn, ops, kJul1)));
    ASSERT_TRUE(dump.ran);
    EXPECT_TRUE(dump.problems.empty()) << dump.problems.front();
    EXPECT_EQ(dump.statement.at("Ledger balance"), "1488.25");
    EXPECT_EQ(dump.statement.at("Start date of this statement"), OfxDumpTime(kNov5));
    EXPECT_EQ(dump.statement.at("End date of this statement"), OfxDumpTime(kJul1));
    ASSERT_EQ(dump.transactions.size(), ops.size());
    const char* const amounts[] = {"-12.50", "1500.75", "0.00"};
    const char* const types[] = {"POS", "XFER", "CREDIT"};
    for (size_t i = 0; i < ops.size(); ++i) {
        const OfxDump::Block& t = dump.transactions[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(t.at("Financial institution's ID for this transaction"),
                  utf8(kOwn) + "-" + std::to_string(ops[i].tid));
        EXPECT_EQ(t.at("Total money amount"), amounts[i]);
        EXPECT_EQ(t.at("Transaction type").substr(0, t.at("Transaction type").find(':')), types[i]);
        EXPECT_EQ(t.at("Date posted"), OfxDumpTime(ops[i].bookingDate));
        EXPECT_EQ(t.at("Date initiated"), OfxDumpTime(ops[i].operationDate));
    }
    EXPECT_EQ(dump.transactions[0].at("Name of payee or transaction description"),
              "Żabka & <Spółka> Sp. z o.o. oddz");  // 32 characters
    EXPECT_EQ(dump.transactions[0].at("Extra transaction information (memo)"), "Zakupy  kartą");
    EXPECT_EQ(dump.transactions[1].at("Name of payee or transaction description"),
              "Jan \"Kowalski\"");
    EXPECT_EQ(dump.transactions[2].count("Name of payee or transaction description"), 0u);
}

TEST(OfxExport, EmptyStatementStillReads) {
    QTemporaryDir dir;
    const OfxDump dump =
        RunOfxDump(save(dir, "e.ofx", CWndExportOfxWriter::Document(kOwn, {}, kNov5)));
    ASSERT_TRUE(dump.ran);
    EXPECT_TRUE(dump.problems.empty()) << dump.problems.front();
    EXPECT_TRUE(dump.transactions.empty());
    EXPECT_EQ(dump.statement.at("Ledger balance"), "0.00");
}

TEST(OfxExport, DatesCarryTheOffsetOfTheirDay) {
    EXPECT_EQ(CWndExportOfxWriter::FormatDateTime(kNov5), "20111105120000[+1:CET]");
    EXPECT_EQ(CWndExportOfxWriter::FormatDateTime(kJul1), "20240701120000[+2:CEST]");
}

struct TypeCase {
    int32_t kind;
    double amount;
    const char* type;
};
class OfxType : public ::testing::TestWithParam<TypeCase> {};
TEST_P(OfxType, FromKindElseFromSign) {
    EXPECT_STREQ(
        CWndExportOfxWriter::TransactionType(op(1, GetParam().kind, GetParam().amount, u"", u"")),
        GetParam().type);
}
INSTANTIATE_TEST_SUITE_P(Kinds, OfxType,
                         ::testing::Values(TypeCase{9, -1, "POS"}, TypeCase{10, -1, "ATM"},
                                           TypeCase{14, 1, "ATM"}, TypeCase{7, -1, "FEE"},
                                           TypeCase{21, -1, "FEE"}, TypeCase{6, 1, "INT"},
                                           TypeCase{5, -1, "INT"}, TypeCase{1, 1, "XFER"},
                                           TypeCase{3, -1, "XFER"}, TypeCase{2, -1, "DEBIT"},
                                           TypeCase{8, -1, "DEBIT"}, TypeCase{20, 1, "CREDIT"},
                                           TypeCase{0, 0, "CREDIT"}, TypeCase{99, -1, "DEBIT"}));

TEST(CsvExport, StrictReaderGetsTheFieldsBack) {
    QTemporaryDir dir;
    const std::string bytes = CWndExportCsvWriter::Document(sample());
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBFIdentyfikator;Numer rachunku;", 0), 0u);
    std::string error;
    const auto rows = ReadCsv(save(dir, "a.csv", bytes), error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].size(), 11u);
    const std::vector<std::string> first = {"61109010140000071219812874-101",
                                            "61109010140000071219812874",
                                            "Konto; \"główne\"",
                                            "2011-11-04",
                                            "2011-11-05",
                                            "Żabka & <Spółka> Sp. z o.o. oddział Kraków",
                                            "73111111111111111111111111",
                                            "Zakupy\r\nkartą",
                                            "-12,50",
                                            "Karta płatnicza",
                                            "Obciążenie"};
    EXPECT_EQ(rows[1], first);
    EXPECT_EQ(rows[2][7], "Wynagrodzenie; listopad");
    EXPECT_EQ(rows[2][8], "1500,75");
    EXPECT_EQ(rows[2][10], "Uznanie");
    EXPECT_EQ(rows[3][8], "0,00");
    EXPECT_EQ(rows[3][9], "");
}

TEST(ExportFiles, OfxGetsOneFilePerAccountNamedByItsLastDigits) {
    auto ops = sample();
    ops[1].ownAccount = u"04000000000000000000001234";
    ops.push_back(op(5, 0, 1, u"", u""));
    ops.back().ownAccount = u"05000000000000000000001234";
    const auto files = CWndExportFiles::Build(ExportFormat::Ofx, "/tmp/x/wyciag.ofx", ops, kNov5);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].path, "/tmp/x/wyciag-2874.ofx");
    EXPECT_EQ(files[1].path, "/tmp/x/wyciag-04000000000000000000001234.ofx");
    EXPECT_EQ(files[2].path, "/tmp/x/wyciag-05000000000000000000001234.ofx");
    EXPECT_EQ(CWndExportFiles::Build(ExportFormat::Ofx, "a.ofx", {}, kNov5).size(), 0u);
    EXPECT_EQ(CWndExportFiles::Build(ExportFormat::Ofx, "a.ofx", {}, kNov5, kOwn).size(), 1u);
    EXPECT_EQ(CWndExportFiles::Build(ExportFormat::Csv, "a.csv", ops, kNov5).size(), 1u);
}

TEST(ExportFiles, OneFailureLeavesNoFileAtAll) {
    QTemporaryDir dir;
    const std::string first = (dir.path() + "/a.ofx").toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkdir("b.ofx"));  // cannot be replaced by a file
    const auto outcome =
        CWndExportFiles::Write({{first, "A"}, {(dir.path() + "/b.ofx").toStdString(), "B"}});
    EXPECT_EQ(outcome.failure, CWndExportFiles::Failure::Open);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"b.ofx"});
}

TEST(ExportFiles, FormatFromExtension) {
    EXPECT_EQ(CWndExportFiles::FormatOf("a.OFX"), ExportFormat::Ofx);
    EXPECT_EQ(CWndExportFiles::FormatOf("a.csv"), ExportFormat::Csv);
    EXPECT_EQ(CWndExportFiles::FormatOf("a.xml"), ExportFormat::Xml);
    EXPECT_EQ(CWndExportFiles::FormatOf("a.txt"), std::nullopt);
    EXPECT_EQ(CWndExportFiles::FormatOf("ofx"), std::nullopt);
}
