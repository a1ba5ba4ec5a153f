// SPDX-License-Identifier: GPL-3.0-or-later
// A downloaded operation meeting imported ones: the module keeps its number and replaces an
// imported copy of itself; the file imported again then finds everything known.
#include <gtest/gtest.h>

#include "OperationStore.h"
#include "Schema.h"
#include "StatementImport.h"
#include "StatementReader.h"
#include "StatementSamples.h"
#include "StatementValues.h"
#include "StoredRows.h"
#include "TempDir.h"
#include "sqlite3x.h"

#include <QString>

namespace {

const std::string kAccount = StatementSamples::Nrb("109010140000071219812874");

class DownloadMeetsImport : public ::testing::Test {
protected:
    void SetUp() override {
        Schema::OpenDatabase(m_db, (m_dir.path() / "masterDatabase.sq3").u16string(),
                             [](const std::u16string&) {});
        m_file = ":20:K\n:25:" + kAccount +
                 "\n:61:240301D9,50NMSCNONREF\n:86:~20Kawa\n:61:240302D4,00NMSCNONREF\n"
                 ":86:~20Bilet\n-\n";
        EXPECT_EQ(import().accounts.at(0).stored, 2);  // Kawa as -2, Bilet as -1
    }

    ImportSummary import() {
        ImportRequest request;
        request.sha256 = StatementImport::Sha256Hex(m_file);
        return StatementImport(m_db).run(StatementReader::Read(m_file), request);
    }

    struct Delivered {
        int32_t tid;
        double amount;
        int day;
        const char* title;
    };

    // One job; whether each operation was new.
    std::vector<bool> job(const std::vector<Delivered>& operations) {
        sqlite3x::transaction job(m_db);
        OperationStore store(m_db, nullptr);
        std::vector<bool> fresh;
        for (const Delivered& op : operations) {
            OperationRecord record{};
            record.size = sizeof record;
            record.tid = op.tid;
            record.amount = op.amount;
            record.direction = op.amount < 0 ? 0 : 1;
            record.operationDate = record.postingDate = *StatementValues::Noon(2024, 3, op.day);
            record.title = op.title;
            fresh.push_back(store.store(QString::fromStdString(kAccount).toStdU16String(), record));
        }
        EXPECT_FALSE(store.failed());
        job.commit();
        return fresh;
    }

    bool download(int32_t tid, double amount, int day, const char* title) {
        return job({{tid, amount, day, title}}).at(0);
    }

    std::string tids() { return StoredNumbersAndTitles(m_db); }

    TempDir m_dir;
    sqlite3x::connection m_db;
    std::string m_file;
};

TEST_F(DownloadMeetsImport, ItsCopyIsReplacedAndTheKeyMovesToIt) {
    EXPECT_FALSE(download(700, -4.0, 4, "BILET"));
    EXPECT_EQ(tids(), "-2:Kawa 700:BILET");
    EXPECT_TRUE(download(701, -4.0, 4, "Inny bilet"));
    const ImportSummary again = import();
    EXPECT_EQ(again.accounts[0].known, 2);
    EXPECT_EQ(tids(), "-2:Kawa 700:BILET 701:Inny bilet");
}

TEST_F(DownloadMeetsImport, TheModuleKeepsItsNumber) {
    EXPECT_TRUE(download(-1, -100.0, 20, "Czynsz"));
    EXPECT_EQ(tids(), "-3:Bilet -2:Kawa -1:Czynsz");
    EXPECT_EQ(import().accounts[0].known, 2);
}

// The imported rows are read once a job: a row moved out of a number later in the job is still
// found under its new one. Also drops the matching index of earlier builds.
TEST_F(DownloadMeetsImport, ARowMovedWithinAJobIsStillReplaced) {
    m_db.execute("CREATE INDEX transactions_match ON transactions(t_to_acc, t_tio, t_date2)");
    EXPECT_EQ(job({{700, -4.0, 10, "Inny bilet"}, {-2, -9.5, 2, "KAWA"}}),
              (std::vector<bool>{true, false}));
    EXPECT_EQ(tids(), "-2:KAWA -1:Bilet 700:Inny bilet");
    EXPECT_EQ(
        m_db.execute_int("SELECT COUNT(*) FROM sqlite_master WHERE name='transactions_match'"), 0);
    EXPECT_EQ(import().accounts[0].known, 2);
}

}  // namespace
