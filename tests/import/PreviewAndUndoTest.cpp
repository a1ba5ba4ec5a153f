// SPDX-License-Identifier: GPL-3.0-or-later
// What the import window builds on: the preview of each operation, storing only the chosen ones,
// several files in one transaction, and undoing a batch after downloads have met its rows.
#include <gtest/gtest.h>

#include "ImportError.h"
#include "ImportPreview.h"
#include "ImportSet.h"
#include "ImportUndo.h"
#include "OperationStore.h"
#include "Schema.h"
#include "StatementReader.h"
#include "StatementSamples.h"
#include "StatementValues.h"
#include "StoredRows.h"
#include "TempDir.h"
#include "sqlite3x.h"

#include <QString>

#include <algorithm>
#include <tuple>

namespace {

const std::string kAccount = StatementSamples::Nrb("109010140000071219812874");
using States = std::vector<OperationState>;
using S = OperationState;

// One MT940 statement; each operation "day amount title" is money out; balances when given.
std::string mt940(const std::vector<std::string>& ops, const std::string& closing = "") {
    std::string text = ":20:K\n:25:" + kAccount + "\n";
    text += closing.empty() ? "" : ":60F:C240301PLN100,00\n";
    for (const std::string& op : ops) {
        text += ":61:2403" + op.substr(0, 2) + "D" + op.substr(3, op.find(' ', 3) - 3) +
                "NMSCNONREF\n:86:~20" + op.substr(op.find(' ', 3) + 1) + "\n";
    }
    return text + (closing.empty() ? "" : ":62F:C240331PLN" + closing + "\n") + "-\n";
}

class ImportWindowEngine : public ::testing::Test {
protected:
    void SetUp() override {
        Schema::OpenDatabase(m_db, (m_dir.path() / "masterDatabase.sq3").u16string(),
                             [](const std::u16string&) {});
    }
    static ImportFile file(const std::string& bytes, int64_t time = 1000) {
        ImportFile one{StatementReader::Read(bytes), {}, std::nullopt};
        one.request.fileName = u"wyciąg.sta";
        one.request.sha256 = StatementImport::Sha256Hex(bytes);
        one.request.time = time;
        return one;
    }
    ImportSummary import(const ImportFile& one) { return ImportSet::Run(m_db, {one}).at(0); }
    int count(const char* table) {
        const std::string exists =
            std::string("select count(*) from sqlite_master where name='") + table + "'";
        return m_db.execute_int(exists) == 0
                   ? -1
                   : m_db.execute_int(std::string("SELECT COUNT(*) FROM ") + table);
    }
    void download(int32_t tid, double amount, int day, const char* title) {
        OperationRecord record{};
        record.size = sizeof record;
        record.tid = tid;
        record.amount = amount;
        record.operationDate = record.postingDate = *StatementValues::Noon(2024, 3, day);
        record.title = title;
        sqlite3x::transaction job(m_db);
        OperationStore(m_db, nullptr)
            .store(QString::fromStdString(kAccount).toStdU16String(), record);
        job.commit();
    }
    std::string tids() { return StoredNumbersAndTitles(m_db); }

    TempDir m_dir;
    sqlite3x::connection m_db;
};

TEST_F(ImportWindowEngine, PreviewTellsEachOperationAndLeavesNoTrace) {
    const ImportFile camt = file(StatementSamples::Camt(kAccount, "08"));
    const PreviewResult pending = ImportPreview::Run(m_db, camt.file, camt.request);
    EXPECT_EQ(std::count(pending.states.begin(), pending.states.end(), S::Pending),
              pending.summary.accounts.at(0).skipped);
    EXPECT_EQ(count("import_batches"), -1) << "not even the tables are left";

    download(5001, -4.0, 3, "BILET");
    import(file(mt940({"01 9,50 Kawa"})));
    const ImportFile b = file(mt940({"01 9,50 Kawa", "02 4,00 Bilet", "03 30,00 Obiad"}), 2000);
    const PreviewResult preview = ImportPreview::Run(m_db, b.file, b.request);
    EXPECT_EQ(preview.states, (States{S::Known, S::Probable, S::New}));
    const AccountCounts& counts = preview.summary.accounts.at(0);
    EXPECT_EQ(std::make_tuple(counts.stored, counts.known, counts.probable),
              std::make_tuple(1, 1, 1));
    EXPECT_FALSE(preview.importedAt);
    EXPECT_EQ(tids(), "-1:Kawa 5001:BILET");
    EXPECT_EQ(count("import_batches"), 1);

    ImportFile ticked = b;
    ticked.chosen = std::vector<size_t>{1, 2};  // the probable Bilet is another ticket after all
    const AccountCounts stored = import(ticked).accounts.at(0);
    EXPECT_EQ(std::make_tuple(stored.stored, stored.known, stored.probable),
              std::make_tuple(2, 1, 0));
    EXPECT_EQ(tids(), "-3:Bilet -2:Obiad -1:Kawa 5001:BILET");
    const PreviewResult again = ImportPreview::Run(m_db, b.file, b.request);
    EXPECT_EQ(again.states, (States{S::Known, S::Known, S::Known}));
    EXPECT_EQ(again.importedAt, 2000);
}

TEST_F(ImportWindowEngine, OnlyTheChosenAreStoredAndTheBalanceIsCheckedOnTheWholeFile) {
    struct Case {
        std::optional<std::vector<size_t>> chosen;
        std::string closing;
        bool ignoreBalance;
        const char* stored;  // tids and titles afterwards; empty: refused
        int skipped;
    };
    const Case cases[] = {
        {std::vector<size_t>{0, 2}, "56,50", false, "-2:Kawa -1:Obiad", 1},
        {std::vector<size_t>{}, "56,50", false, "", 3},
        {std::nullopt, "56,50", false, "-3:Kawa -2:Bilet -1:Obiad", 0},
        {std::vector<size_t>{1}, "99,00", false, nullptr, 0},
        {std::vector<size_t>{1}, "99,00", true, "-1:Bilet", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.closing + (c.chosen ? " chosen " + std::to_string(c.chosen->size()) : ""));
        Schema::ClearOperations(m_db);
        ImportFile one =
            file(mt940({"01 9,50 Kawa", "02 4,00 Bilet", "03 30,00 Obiad"}, c.closing));
        one.chosen = c.chosen;
        one.request.ignoreBalance = c.ignoreBalance;
        if (c.stored == nullptr) {
            EXPECT_THROW(import(one), ImportError);
            EXPECT_EQ(tids(), "");
            continue;
        }
        EXPECT_EQ(import(one).accounts.at(0).skipped, c.skipped);
        EXPECT_EQ(tids(), c.stored);
    }
}

TEST_F(ImportWindowEngine, SeveralFilesAreStoredTogetherOrNotAtAll) {
    const ImportFile first = file(mt940({"01 9,50 Kawa", "02 4,00 Bilet"}));
    const ImportFile wrong = file(mt940({"05 3,00 Chleb"}, "1,00"));
    EXPECT_THROW(ImportSet::Run(m_db, {first, wrong}), ImportError);
    EXPECT_EQ(tids(), "");
    EXPECT_EQ(count("import_batches"), -1);

    const ImportFile overlap = file(mt940({"02 4,00 Bilet", "05 3,00 Chleb"}));
    const std::vector<ImportSummary> both = ImportSet::Run(m_db, {first, overlap});
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[1].accounts.at(0).known, 1) << "stored by the first file of the same import";
    EXPECT_EQ(tids(), "-3:Chleb -2:Kawa -1:Bilet");
    EXPECT_EQ(ImportSet::CountsLine(both[1].accounts[0]),
              QString::fromStdString(kAccount) +
                  ": nowe 1, już zapisane 1, prawdopodobnie zapisane 0, pominięte 0");
}

TEST_F(ImportWindowEngine, UndoTakesBackOnlyWhatTheBatchStillHolds) {
    const ImportFile older = file(mt940({"01 9,50 Kawa", "02 4,00 Bilet", "03 30,00 Obiad"}), 1000);
    import(older);
    import(file(mt940({"05 3,00 Chleb"}), 2000));
    download(700, -4.0, 3, "BILET");    // replaces the imported Bilet, which was -2
    download(-3, -55.0, 20, "Czynsz");  // takes Kawa's number: Kawa moves to -5
    EXPECT_EQ(tids(), "-5:Kawa -4:Chleb -3:Czynsz -1:Obiad 700:BILET");

    ImportUndo undo(m_db);
    std::vector<ImportBatchInfo> batches = undo.batches();
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].time, 2000) << "newest first";
    EXPECT_EQ(batches[1].stored, 3);
    EXPECT_EQ(undo.undo(batches[1].id), 2);
    EXPECT_EQ(tids(), "-4:Chleb -3:Czynsz 700:BILET");
    EXPECT_EQ(undo.batches().size(), 1u);
    EXPECT_THROW(undo.undo(batches[1].id), ImportError);

    // The downloaded BILET keeps the key it took over; the others come back as new.
    const ImportSummary again = import(older);
    EXPECT_FALSE(again.importedBefore);
    EXPECT_EQ(again.accounts[0].known, 1);
    EXPECT_EQ(again.accounts[0].stored, 2);
}

}  // namespace
