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
        EXPECT_EQ(import().accounts.at(0).stored, 2);  // as -1 and -2
    }

    ImportSummary import() {
        ImportRequest request;
        request.sha256 = StatementImport::Sha256Hex(m_file);
        return StatementImport(m_db).run(StatementReader::Read(m_file), request);
    }

    bool download(int32_t tid, double amount, int day, const char* title) {
        OperationRecord record{};
        record.size = sizeof record;
        record.tid = tid;
        record.amount = amount;
        record.direction = amount < 0 ? 0 : 1;
        record.operationDate = record.postingDate = *StatementValues::Noon(2024, 3, day);
        record.title = title;
        sqlite3x::transaction job(m_db);
        OperationStore store(m_db, nullptr);
        const bool fresh = store.store(QString::fromStdString(kAccount).toStdU16String(), record);
        EXPECT_FALSE(store.failed());
        job.commit();
        return fresh;
    }

    std::string tids() {
        sqlite3x::command select(m_db,
                                 "SELECT group_concat(t_tid || ':' || t_desc, ' ') FROM (SELECT * "
                                 "FROM transactions ORDER BY t_tid)");
        sqlite3x::reader r = select.execute_reader();
        return r.read() ? QString::fromStdU16String(r.get_string(0)).toStdString() : "";
    }

    TempDir m_dir;
    sqlite3x::connection m_db;
    std::string m_file;
};

TEST_F(DownloadMeetsImport, ItsCopyIsReplacedAndTheKeyMovesToIt) {
    EXPECT_FALSE(download(700, -4.0, 4, "BILET"));
    EXPECT_EQ(tids(), "-1:Kawa 700:BILET");
    EXPECT_TRUE(download(701, -4.0, 4, "Inny bilet"));
    const ImportSummary again = import();
    EXPECT_EQ(again.accounts[0].known, 2);
    EXPECT_EQ(tids(), "-1:Kawa 700:BILET 701:Inny bilet");
}

TEST_F(DownloadMeetsImport, TheModuleKeepsItsNumber) {
    EXPECT_TRUE(download(-1, -100.0, 20, "Czynsz"));
    EXPECT_EQ(tids(), "-3:Kawa -2:Bilet -1:Czynsz");
    EXPECT_EQ(import().accounts[0].known, 2);
}

}  // namespace
