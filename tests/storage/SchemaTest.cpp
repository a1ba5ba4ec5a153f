// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DatabaseCheck.h"
#include "Schema.h"
#include "TempFolder.h"
#include "sqlite3x.h"

using namespace sqlite3x;

namespace {

class SchemaTest : public ::testing::Test {
protected:
    std::u16string path() const { return toU16(file.string()); }
    void open(connection& con) {
        Schema::OpenDatabase(con, path(),
                             [this](const std::u16string& line) { lines.push_back(line); });
    }
    static bool tableExists(connection& con, const std::string& name) {
        return con.execute_int("select count(*) from sqlite_master where name='" + name + "'") == 1;
    }
    static std::vector<std::u16string> columns(connection& con, const char* sql) {
        command cmd(con, sql);
        reader r = cmd.execute_reader();
        std::vector<std::u16string> names;
        for (int i = 0; i < r.column_count(); ++i) {
            names.push_back(r.column_name(i));
        }
        return names;
    }

    TempFolder folder;
    std::filesystem::path file = folder / "masterDatabase.sq3";
    std::vector<std::u16string> lines;
};

TEST_F(SchemaTest, FreshFileGetsBothTablesEmptyAndPrivate) {
    connection con;
    open(con);
    EXPECT_TRUE(tableExists(con, "accounts"));
    EXPECT_TRUE(tableExists(con, "transactions"));
    EXPECT_EQ(con.execute_int("SELECT COUNT(*) FROM transactions"), 0);
    EXPECT_EQ(fileMode(file), 0600u);
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"Wchodzę w sekcję krytyczną",
                                                  u"Opuszczam sekcję krytyczną"}));
    command enc(con, "PRAGMA encoding");
    reader r = enc.execute_reader();
    ASSERT_TRUE(r.read());
    EXPECT_EQ(r.get_string(0), u"UTF-16le");
}

TEST_F(SchemaTest, TablesHaveTheirColumnsInOrder) {
    connection con;
    open(con);
    EXPECT_EQ(columns(con, Schema::kSelectAllAccounts),
              (std::vector<std::u16string>{u"a_id", u"a_number", u"a_user", u"a_name", u"a_pass",
                                           u"a_type", u"a_auto_get"}));
    EXPECT_EQ(columns(con, Schema::kSelectHistory),
              (std::vector<std::u16string>{u"t_id", u"t_from_acc", u"t_from_name", u"t_desc",
                                           u"t_amount", u"t_to_acc", u"t_tid", u"t_tio", u"t_date1",
                                           u"t_date2", u"t_class", u"t_user"}));
}

// Other programs read the file too: the tables are exactly these, character for character.
TEST_F(SchemaTest, FreshFileHoldsTheExactCreateStatements) {
    connection con;
    open(con);
    const auto sqlOf = [&con](const char* table) {
        command select(con, std::string("SELECT sql FROM sqlite_master WHERE type='table' AND "
                                        "name='") +
                                table + "'");
        reader r = select.execute_reader();
        return r.read() ? r.get_string(0) : u"(no table)";
    };
    EXPECT_EQ(sqlOf("accounts"),
              u"CREATE TABLE accounts(a_id VARCHAR(48) NOT NULL, a_number VARCHAR(32) NOT NULL, "
              u"a_user VARCHAR(64) NOT NULL, a_name VARCHAR(64) NOT NULL, a_pass VARCHAR(64) NOT "
              u"NULL, a_type INTEGER NOT NULL, a_auto_get INTEGER NOT NULL )");
    EXPECT_EQ(sqlOf("transactions"),
              u"CREATE TABLE transactions(t_id INTEGER NOT NULL PRIMARY KEY, t_from_acc "
              u"VARCHAR(32), t_from_name VARCHAR(255), t_desc VARCHAR(255), t_amount FLOAT, "
              u"t_to_acc VARCHAR(32), t_tid INTEGER, t_tio INTEGER, t_date1 INTEGER, t_date2 "
              u"INTEGER, t_class INTEGER, t_user VARCHAR(48) )");
}

TEST_F(SchemaTest, ReopeningKeepsTheData) {
    {
        connection con;
        open(con);
        command ins(con, Schema::kInsertAccount);
        for (int i = 1; i <= 4; ++i) {
            ins.bind_text(i, u"x");
        }
        ins.bind_int(5, 0);
        ins.execute();
    }
    connection con;
    open(con);
    EXPECT_EQ(con.execute_int("SELECT COUNT(*) FROM accounts"), 1);
}

// A file opened with its check deferred reads at once; a write waits for the verdict, and a
// damaged file refuses it and stays byte for byte as it was.
TEST_F(SchemaTest, WritesWaitForTheDeferredCheckAndADamagedFileRefusesThem) {
    {
        connection con;
        open(con);
        transaction tx(con);
        command ins(con, Schema::kInsertOperation);
        for (int tid = 1; tid <= 2000; ++tid) {
            for (int i = 1; i <= 11; ++i) {
                ins.bind_text(i,
                              i == 3 ? std::u16string(100, u'T') : u"61123456780000000000000001");
            }
            ins.bind_int(5, tid);
            ins.execute();
        }
        tx.commit();
    }
    const auto bytes = [this] {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const bool damaged : {false, true}) {
        SCOPED_TRACE(damaged ? "damaged" : "sound");
        if (damaged) {
            std::string all = bytes();
            all.replace(all.size() / 4096 / 2 * 4096, 4096, std::string(4096, 'Z'));
            std::ofstream(file, std::ios::binary | std::ios::trunc) << all;
        }
        const std::string before = bytes();
        connection con;
        DatabaseCheck check;
        Schema::OpenDatabase(
            con, path(), [](const std::u16string&) {}, &check);
        check.guardWrites(con);
        EXPECT_EQ(con.execute_int("SELECT COUNT(*) FROM accounts"), damaged ? 1 : 0);
        const auto write = [&con] {
            con.execute("INSERT INTO accounts VALUES('1','2','3','4','5',0,0)");
        };
        if (damaged) {
            EXPECT_THROW(write(), database_error);
            EXPECT_NE(check.result(), 0);
            EXPECT_EQ(bytes(), before);
        } else {
            EXPECT_NO_THROW(write());
            EXPECT_EQ(check.result(), 0);
        }
    }
}

// Finding an operation by (account, bank number), and an imported file's rows by posting date,
// must not read the whole table, in new files and in files written before the indexes existed.
TEST_F(SchemaTest, FreshAndOldFilesGetTheOperationIndexes) {
    const auto plan = [](connection& con, const char* sql) {
        command cmd(con, std::string("EXPLAIN QUERY PLAN ") + sql);
        reader r = cmd.execute_reader();
        std::u16string text;
        while (r.read()) {
            text += r.get_string(3);
        }
        return text;
    };
    const auto indexed = [&plan](connection& con) {
        con.execute(Schema::kCreateImportKeys);
        return plan(con, Schema::kCountOperation).find(u"transactions_to_acc_tid") !=
                   std::u16string::npos &&
               plan(con, Schema::kDeleteOperation).find(u"transactions_to_acc_tid") !=
                   std::u16string::npos &&
               plan(con, Schema::kSelectUnkeyedOperations).find(u"transactions_date") !=
                   std::u16string::npos;
    };
    {
        connection fresh;
        open(fresh);
        EXPECT_TRUE(indexed(fresh));
    }
    std::filesystem::remove(file);
    {
        connection old;
        old.open(path());
        old.execute(Schema::kCreateAccounts);
        old.execute(Schema::kCreateTransactions);
        old.execute("INSERT INTO transactions (t_tid, t_to_acc) VALUES (7, 'x')");
        EXPECT_FALSE(indexed(old));
    }
    connection next;
    open(next);
    EXPECT_TRUE(indexed(next));
    EXPECT_EQ(next.execute_int("SELECT COUNT(*) FROM transactions WHERE t_tid=7"), 1);
}

TEST_F(SchemaTest, TransactionsWithoutAccountsFailsButKeepsTheNewAccountsTable) {
    {
        connection con;
        con.open(path());
        con.execute("CREATE TABLE transactions(x)");
    }
    connection con;
    EXPECT_THROW(open(con), database_error);
    ASSERT_EQ(lines.size(), 1u);  // the closing line is never reached

    connection check;
    check.open(path());
    EXPECT_TRUE(tableExists(check, "accounts"));

    // The next start finds accounts and goes on with the old transactions table.
    connection next;
    EXPECT_NO_THROW(open(next));
}

TEST_F(SchemaTest, AccountsWithoutTransactionsIsNotRepaired) {
    {
        connection con;
        con.open(path());
        con.execute(Schema::kCreateAccounts);
    }
    connection con;
    EXPECT_NO_THROW(open(con));
    EXPECT_FALSE(tableExists(con, "transactions"));
    EXPECT_THROW({ command cmd(con, Schema::kSelectHistory); }, database_error);
}

TEST_F(SchemaTest, FileThatIsNoDatabaseFailsAtTheExistenceTest) {
    writeBytes(file, std::vector<uint8_t>(4096, 'x'));
    connection con;
    EXPECT_THROW(open(con), database_error);
    EXPECT_TRUE(con.is_open());  // opening itself succeeded
    EXPECT_EQ(lines.size(), 1u);
}

TEST_F(SchemaTest, FolderThatDoesNotExistFailsToOpen) {
    connection con;
    try {
        Schema::OpenDatabase(con, toU16((folder / "missing/db.sq3").string()),
                             [](const std::u16string&) {});
        FAIL() << "no exception";
    } catch (const database_error& e) {
        EXPECT_STREQ(e.what(), "unable to open database");
    }
}

class HostileValue : public SchemaTest, public ::testing::WithParamInterface<std::u16string> {
protected:
    void SetUp() override { open(con); }
    connection con;
};

TEST_P(HostileValue, AccountRoundTripsUnchanged) {
    const std::u16string v = GetParam();
    command ins(con, Schema::kInsertAccount);
    ins.bind_text(1, v);
    ins.bind_text(2, v + u"u");
    ins.bind_text(3, v + u"n");
    ins.bind_text(4, v + u"p");
    ins.bind_int(5, 3);
    ins.execute();
    EXPECT_TRUE(tableExists(con, "accounts"));

    command sel(con, Schema::kSelectAccountByNumber);
    sel.bind_text(1, v);
    reader r = sel.execute_reader();
    ASSERT_TRUE(r.read());
    EXPECT_EQ(r.get_string(u"a_number"), v);
    EXPECT_EQ(r.get_string(u"a_user"), v + u"u");
    EXPECT_EQ(r.get_string(u"a_name"), v + u"n");
    EXPECT_EQ(r.get_string(u"a_pass"), v + u"p");
    EXPECT_EQ(r.get_int(u"a_type"), 3);
    EXPECT_FALSE(r.read());
}

TEST_P(HostileValue, OperationRoundTripsAndIsFoundAndDeleted) {
    const std::u16string v = GetParam();
    command ins(con, Schema::kInsertOperation);
    ins.bind_text(1, v + u"1");
    ins.bind_text(2, v + u"2");
    ins.bind_text(3, v + u"3");
    ins.bind_double(4, -12.34);
    ins.bind_int(5, 555);
    ins.bind_int(6, 0);
    ins.bind_int64(7, 1300000000);
    ins.bind_int64(8, 1300086400);
    ins.bind_text(9, v);
    ins.bind_text(10, u"");
    ins.bind_int(11, 7);
    ins.execute();
    EXPECT_TRUE(tableExists(con, "transactions"));

    command count(con, Schema::kCountOperation);
    count.bind_int(1, 555);
    count.bind_text(2, v);
    EXPECT_EQ(count.execute_int(), 1);

    command sel(con, Schema::kSelectHistory);
    reader r = sel.execute_reader();
    ASSERT_TRUE(r.read());
    EXPECT_EQ(r.get_string(u"t_from_acc"), v + u"1");
    EXPECT_EQ(r.get_string(u"t_from_name"), v + u"2");
    EXPECT_EQ(r.get_string(u"t_desc"), v + u"3");
    EXPECT_DOUBLE_EQ(r.get_double(u"t_amount"), -12.34);
    EXPECT_EQ(r.get_int(u"t_tid"), 555);
    EXPECT_EQ(r.get_int64(u"t_date2"), 1300086400);
    EXPECT_EQ(r.get_string(u"t_to_acc"), v);
    EXPECT_EQ(r.get_int(u"t_class"), 7);
    r.close();

    command del(con, Schema::kDeleteOperation);
    del.bind_int(1, 555);
    del.bind_text(2, v);
    del.execute();
    EXPECT_EQ(count.execute_int(), 0);
}

INSTANTIATE_TEST_SUITE_P(Values, HostileValue,
                         ::testing::Values(u"O'Brien", u"say \"hi\"", u"a;b", u"x -- y",
                                           u"'; DROP TABLE accounts; --",
                                           u"\"); DROP TABLE transactions; --",
                                           std::u16string(u"nul\0inside", 10),
                                           std::u16string(10000, u'\''), u"Łódź ąęśćżźńół"));

TEST_F(SchemaTest, HistoryIsNewestPostingDateFirstThenHighestBankNumber) {
    connection con;
    open(con);
    const int rows[][2] = {{100, 1}, {300, 2}, {300, 9}, {200, 5}};
    command ins(con, Schema::kInsertOperation);
    for (const auto& row : rows) {
        for (int i : {1, 2, 3, 9, 10}) {
            ins.bind_text(i, u"a");
        }
        ins.bind_double(4, 1.0);
        ins.bind_int(5, row[1]);
        ins.bind_int(6, 1);
        ins.bind_int64(7, row[0]);
        ins.bind_int64(8, row[0]);
        ins.bind_int(11, 0);
        ins.execute();
    }
    command sel(con, Schema::kSelectHistory);
    reader r = sel.execute_reader();
    std::vector<int> tids;
    while (r.read()) {
        tids.push_back(r.get_int(u"t_tid"));
    }
    EXPECT_EQ(tids, (std::vector<int>{9, 2, 5, 1}));
}

}  // namespace
