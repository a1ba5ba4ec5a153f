// SPDX-License-Identifier: GPL-3.0-or-later
// The list as the one reader of `transactions` forms it, from files written the way a user
// repairing one would: by the sqlite3 shell, which writes UTF-8 unless told otherwise.
#include <gtest/gtest.h>

#include <QString>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "HistoryReader.h"
#include "Schema.h"
#include "TempDir.h"
#include "sqlite3x.h"

namespace {

const std::u16string kOwn = u"61109010140000071219812874";

struct Row {
    int tid;
    std::u16string name, title;
    int64_t booked;
};

const std::vector<Row> kRows = {
    {1, u"Żabka Polska sp. z o.o.", u"Zakupy – ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ", 1700000000},
    {2, u"O'Brien \"Pub\"", u"Napiwek 💶 i €", 1700086400},
    {3, u"", u"", 1700000000},
};

// UTF-8 inside an SQL string literal.
std::string utf8(const std::u16string& text) {
    return QString::fromStdU16String(text)
        .replace(QLatin1Char('\''), QLatin1String("''"))
        .toUtf8()
        .toStdString();
}

// The file the sqlite3 shell makes of these statements, in the given text encoding.
void writeWithShell(const std::filesystem::path& file, const char* encoding) {
    std::string sql = std::string("PRAGMA encoding='") + encoding + "';\n" +
                      Schema::kCreateAccounts + ";\n" + Schema::kCreateTransactions + ";\n";
    sql += "INSERT INTO accounts VALUES('0','" + utf8(kOwn) + "','u','" + utf8(u"Konto główne") +
           "','p',3,0);\n";
    for (const Row& row : kRows) {
        sql += "INSERT INTO transactions VALUES(" + std::to_string(row.tid) + ",'1234','" +
               utf8(row.name) + "','" + utf8(row.title) + "',-12.5,'" + utf8(kOwn) + "'," +
               std::to_string(row.tid) + ",0," + std::to_string(row.booked) + "," +
               std::to_string(row.booked) + ",3,'');\n";
    }
    FILE* shell = ::popen(("sqlite3 '" + file.string() + "'").c_str(), "w");
    ASSERT_NE(shell, nullptr);
    std::fputs(sql.c_str(), shell);
    ASSERT_EQ(::pclose(shell), 0) << "the sqlite3 shell failed";
}

class HistoryReaderTest : public ::testing::TestWithParam<const char*> {};

TEST_P(HistoryReaderTest, ShellWrittenFileReadsAsStored) {
    TempDir folder;
    const std::filesystem::path file = folder.path() / "history.db";
    writeWithShell(file, GetParam());
    sqlite3x::connection con;
    con.open(file.u16string());
    ASSERT_EQ(con.execute_int("SELECT COUNT(*) FROM transactions"), 3);
    HistoryEntries entries;
    HistoryReader::Read(con, Schema::kSelectHistory, entries);
    ASSERT_EQ(entries.size(), kRows.size());
    // Newest booking first, then the highest bank number.
    const std::vector<size_t> order = {1, 2, 0};
    for (size_t i = 0; i < order.size(); ++i) {
        const Row& want = kRows[order[i]];
        const StoredOperation got = entries.at(i);
        SCOPED_TRACE(want.tid);
        EXPECT_EQ(got.tid, want.tid);
        EXPECT_EQ(got.counterpartyName, want.name);
        EXPECT_EQ(got.title, want.title);
        EXPECT_EQ(got.ownAccount, kOwn);
        EXPECT_EQ(got.ownAccountName, u"Konto główne");
        EXPECT_EQ(got.counterpartyAccount, u"1234");
        EXPECT_EQ(got.amount, -12.5);
        EXPECT_EQ(got.bookingDate, want.booked);
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, HistoryReaderTest, ::testing::Values("UTF-8", "UTF-16le"),
                         [](const auto& info) {
                             return std::string(info.param[4] == '8' ? "Utf8" : "Utf16");
                         });

// The full list is read on two threads, in chunks of rows: a list of several chunks, with empty
// and long texts, comes out as the single-threaded reading of the same query gives it.
TEST(HistoryReader, FullListReadOnTwoThreadsMatchesTheQueryRowForRow) {
    TempDir folder;
    sqlite3x::connection con;
    Schema::OpenDatabase(con, (folder.path() / "history.db").u16string(),
                         [](const std::u16string&) {});
    {
        sqlite3x::transaction tx(con);
        sqlite3x::command insert(con, Schema::kInsertOperation);
        for (int i = 0; i < 10000; ++i) {
            insert.bind_text(1, i % 3 ? u"" : u"12" + QString::number(i).toStdU16String());
            insert.bind_text(2, u"Kontrahent " + QString::number(i % 97).toStdU16String());
            insert.bind_text(3, std::u16string(size_t(i % 300), u'ż') + u"|" +
                                    QString::number(i).toStdU16String());
            insert.bind_double(4, -0.01 * i);
            insert.bind_int(5, i);
            insert.bind_int(6, i % 2);
            insert.bind_int64(7, 1700000000 + i % 50 * 86400);
            insert.bind_int64(8, 1700000000 + i % 70 * 86400);
            insert.bind_text(9, i % 5 ? kOwn : u"");
            insert.bind_text(10, u"");
            insert.bind_int(11, i % 14);
            insert.execute();
        }
        tx.commit();
    }
    HistoryEntries beside;
    HistoryReader::Read(con, Schema::kSelectHistory, beside);
    // The same query in other words is read row by row, in SQLite's order.
    const std::string sameQuery = std::string(Schema::kSelectHistory) + " ";
    HistoryEntries alone;
    HistoryReader::Read(con, sameQuery.c_str(), alone);
    ASSERT_EQ(beside.size(), 10000u);
    ASSERT_EQ(alone.size(), beside.size());
    for (size_t i = 0; i < beside.size(); ++i) {
        const StoredOperation a = beside.at(i);
        const StoredOperation b = alone.at(i);
        ASSERT_EQ(std::tie(a.tid, a.counterpartyAccount, a.counterpartyName, a.title, a.amount,
                           a.direction, a.operationDate, a.bookingDate, a.ownAccount, a.kind),
                  std::tie(b.tid, b.counterpartyAccount, b.counterpartyName, b.title, b.amount,
                           b.direction, b.operationDate, b.bookingDate, b.ownAccount, b.kind))
            << "row " << i;
    }
}

}  // namespace
