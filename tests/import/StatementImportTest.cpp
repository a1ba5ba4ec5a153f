// SPDX-License-Identifier: GPL-3.0-or-later
// The import step against a real SQLite file: keys, numbers, probable matches, own exports read
// back, and nothing stored when a file is refused.
#include <gtest/gtest.h>

#include "CsvExportWriter.h"
#include "ImportError.h"
#include "Schema.h"
#include "StatementImport.h"
#include "StatementReader.h"
#include "StatementSamples.h"
#include "StatementValues.h"
#include "TempDir.h"
#include "sqlite3x.h"

#include <QString>

using namespace StatementSamples;

namespace {

const std::string kAccount = Nrb("116022020000000312345678");

std::u16string u16(const std::string& utf8) {
    return QString::fromStdString(utf8).toStdU16String();
}

struct Row {
    int32_t tid;
    std::string name, title;
    double amount;
    int64_t bookingDate;
};

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        Schema::OpenDatabase(m_db, (m_dir.path() / "masterDatabase.sq3").u16string(),
                             [](const std::u16string&) {});
    }

    ImportSummary import(const std::string& bytes, bool dryRun = false) {
        ImportRequest request;
        request.fileName = u"wyciąg";
        request.sha256 = StatementImport::Sha256Hex(bytes);
        request.dryRun = dryRun;
        return StatementImport(m_db).run(StatementReader::Read(bytes), request);
    }

    std::vector<Row> rows() {
        sqlite3x::command select(m_db,
                                 "SELECT t_tid, t_from_name, t_desc, t_amount, t_date2 FROM "
                                 "transactions ORDER BY t_id");
        sqlite3x::reader r = select.execute_reader();
        std::vector<Row> out;
        while (r.read()) {
            out.push_back({r.get_int(0), QString::fromStdU16String(r.get_string(1)).toStdString(),
                           QString::fromStdU16String(r.get_string(2)).toStdString(),
                           r.get_double(3), r.get_int64(4)});
        }
        return out;
    }

    void storeDownloaded(int32_t tid, double amount, int64_t day, const std::u16string& title,
                         const std::u16string& counterparty = u"") {
        sqlite3x::command insert(m_db, Schema::kInsertOperation);
        insert.bind_text(1, counterparty);
        insert.bind_text(2, u"Sklep");
        insert.bind_text(3, title);
        insert.bind_double(4, amount);
        insert.bind_int(5, tid);
        insert.bind_int(6, amount < 0 ? 0 : 1);
        insert.bind_int64(7, day);
        insert.bind_int64(8, day);
        insert.bind_text(9, u16(kAccount));
        insert.bind_text(10, u"");
        insert.bind_int(11, 0);
        insert.execute();
    }

    static std::string coffees(const std::string& extra) {
        std::string text = ":20:K\n:25:" + kAccount + "\n:60F:C240301PLN0,00\n";
        for (int i = 0; i < 2; ++i) {
            text += ":61:240301D9,50NMSCNONREF\n:86:~20Kawa  duża\n";
        }
        return text + extra + "-\n";
    }

    TempDir m_dir;
    sqlite3x::connection m_db;
};

TEST_F(ImportTest, StoresOnceWithNegativeNumbersAndAFileOnlyAccount) {
    const std::string file = Encoded(Mt940(kAccount, {'<', "\r\n", true}), "CP852");
    const ImportSummary first = import(file);
    ASSERT_EQ(first.accounts.size(), 1u);
    EXPECT_EQ(first.accounts[0].account, u16(kAccount));
    EXPECT_EQ(first.accounts[0].stored, 2);
    EXPECT_FALSE(first.importedBefore);
    const auto stored = rows();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].tid, -2);  // numbers rise in file order, below the lowest stored
    EXPECT_EQ(stored[1].tid, -1);
    EXPECT_EQ(stored[0].name, "Żabka Polska Sp. z o.o. Oddział Źródło");
    EXPECT_DOUBLE_EQ(stored[0].amount, -12.34);
    EXPECT_EQ(m_db.execute_int("SELECT COUNT(*) FROM accounts WHERE a_type=-1 AND a_name='Rachunek "
                               "…5678' AND a_user='' AND a_pass=''"),
              1);

    const ImportSummary again = import(file);
    EXPECT_TRUE(again.importedBefore);
    EXPECT_EQ(again.accounts[0].stored, 0);
    EXPECT_EQ(again.accounts[0].known, 2);
    EXPECT_EQ(rows().size(), 2u);
    // Batches stored by earlier builds are found by this digest: it must stay SHA-256 in hex.
    EXPECT_EQ(StatementImport::Sha256Hex("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST_F(ImportTest, IdenticalOperationsStayTwoAndOverlapsStoreOnlyWhatIsNew) {
    EXPECT_EQ(import(coffees("")).accounts[0].stored, 2);
    const ImportSummary overlap = import(coffees(":61:240302D3,00NMSCNONREF\n:86:~20Bułka\n"));
    EXPECT_EQ(overlap.accounts[0].known, 2);
    EXPECT_EQ(overlap.accounts[0].stored, 1);
    EXPECT_EQ(rows().size(), 3u);
    EXPECT_EQ(rows().back().tid, -3);
}

TEST_F(ImportTest, ADownloadedOperationMuchLikeItIsLinkedNotStoredTwice) {
    const int64_t twoDaysLater = *StatementValues::Noon(2024, 3, 3);
    storeDownloaded(5001, -9.5, twoDaysLater, u"KAWA DUŻA");
    storeDownloaded(5002, -9.5, twoDaysLater, u"Herbata");
    storeDownloaded(5003, -9.5, *StatementValues::Noon(2024, 3, 5), u"Kawa duża");  // too late
    m_db.execute("CREATE INDEX transactions_match ON transactions(t_to_acc, t_tio, t_date2)");
    const ImportSummary summary = import(coffees(""));
    EXPECT_EQ(summary.accounts[0].probable, 1);
    EXPECT_EQ(summary.accounts[0].stored, 1);
    EXPECT_EQ(rows().size(), 4u);
    EXPECT_EQ(
        m_db.execute_int("SELECT COUNT(*) FROM sqlite_master WHERE name='transactions_match'"), 0);
    EXPECT_EQ(m_db.execute_int("SELECT k_tid FROM import_keys WHERE k_created=0"), 5001);
    const ImportSummary again = import(coffees(""));
    EXPECT_EQ(again.accounts[0].known, 2);
    EXPECT_EQ(again.accounts[0].probable, 0);
}

// The counterparty account's digits match whatever the title and the way the number is written.
TEST_F(ImportTest, TheSameCounterpartyAccountIsProbablyTheSameOperation) {
    const int64_t day = *StatementValues::Noon(2024, 3, 1);
    storeDownloaded(6001, -9.5, day, u"Przelew", u"PL 61 1090 1014 0000 0712 1981 2874");
    storeDownloaded(6002, -9.5, day, u"", u"");
    const std::string file =
        ":20:K\n:25:" + kAccount +
        "\n:61:240301D9,50NTRFNONREF\n:86:~20Czynsz~3861109010140000071219812874"
        "\n:61:240301D9,50NTRFNONREF\n:86:~20\n-\n";
    const ImportSummary summary = import(file);
    EXPECT_EQ(summary.accounts[0].probable, 1);
    EXPECT_EQ(summary.accounts[0].stored, 1);  // no title and no account: nothing to compare
}

TEST_F(ImportTest, OwnCsvExportComesBackWithItsNumbersAndName) {
    StoredOperation op;
    op.tid = 812;
    op.ownAccount = u16(kAccount);
    op.ownAccountName = u"Wspólne „domowe”";
    op.operationDate = op.bookingDate = *StatementValues::Noon(2024, 4, 1);
    op.title = u"Czynsz; kwiecień";
    op.amount = -1500;
    op.kind = 3;
    const std::string csv = CsvExportWriter::Document({op});
    EXPECT_EQ(import(csv).accounts[0].stored, 1);
    EXPECT_EQ(rows().at(0).tid, 812);
    EXPECT_EQ(rows().at(0).title, "Czynsz; kwiecień");
    EXPECT_EQ(m_db.execute_int("SELECT COUNT(*) FROM accounts WHERE a_name='Wspólne „domowe”'"), 1);
    EXPECT_EQ(import(csv).accounts[0].known, 1);
    Schema::ClearOperations(m_db);
    EXPECT_EQ(m_db.execute_int("SELECT COUNT(*) FROM import_keys"), 0);
    EXPECT_EQ(m_db.execute_int("SELECT COUNT(*) FROM import_batches"), 0);
    EXPECT_EQ(import(csv).accounts[0].stored, 1);
}

TEST_F(ImportTest, RefusedAndDryRunFilesLeaveEverythingAsItWas) {
    std::string wrong = Mt940(kAccount, {});
    wrong.replace(wrong.find("1237,66"), 7, "1237,67");
    EXPECT_THROW(import(wrong), ImportError);
    const ImportSummary dry = import(Camt(kAccount, "08"), true);
    EXPECT_EQ(dry.accounts[0].stored, 4);
    EXPECT_EQ(dry.accounts[0].skipped, 1);
    EXPECT_EQ(m_db.execute_int("SELECT COUNT(*) FROM transactions"), 0);
    EXPECT_EQ(m_db.execute_int("SELECT COUNT(*) FROM accounts"), 0);
    EXPECT_EQ(m_db.execute_int("SELECT COUNT(*) FROM sqlite_master WHERE name='import_keys'"), 0);
}

}  // namespace
