// SPDX-License-Identifier: GPL-3.0-or-later
// The list as the one reader of `transactions` forms it, from files written the way a user
// repairing one would: by the sqlite3 shell, which writes UTF-8 unless told otherwise.
#include <gtest/gtest.h>

#include <QString>
#include <cstdio>
#include <string>
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

}  // namespace
