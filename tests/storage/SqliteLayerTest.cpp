// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "TempFolder.h"
#include "sqlite3x.h"

using namespace sqlite3x;

namespace {

class SqliteLayer : public ::testing::Test {
protected:
    void SetUp() override {
        con.open(dbPath());
        con.execute("CREATE TABLE t(a INTEGER, b TEXT, c FLOAT)");
        con.execute("INSERT INTO t VALUES(1, 'one', 1.5)");
        con.execute("INSERT INTO t VALUES(2, 'two', 2.5)");
        con.execute("INSERT INTO t VALUES(NULL, NULL, NULL)");
    }
    std::u16string dbPath() const { return toU16((folder / "t.sq3").string()); }
    int32_t countRows(connection& c) { return c.execute_int("SELECT COUNT(*) FROM t"); }

    TempFolder folder;
    connection con;
};

// Each failure has its fixed text; the action runs on an open database with table t.
struct FixedTextCase {
    const char* name;
    const char* text;
    std::function<void(connection&)> action;
};

void PrintTo(const FixedTextCase& c, std::ostream* os) {
    *os << c.name;
}

class FixedTexts : public SqliteLayer, public ::testing::WithParamInterface<FixedTextCase> {};

const FixedTextCase kFixedTexts[] = {
    {"OpenInMissingFolder", "unable to open database",
     [](connection&) {
         connection other;
         other.open(u"/nonexistent-folder/sub/x.sq3");
     }},
    {"ExecuteOnClosed", "database is not open",
     [](connection&) {
         connection closed;
         closed.execute("SELECT 1");
     }},
    {"ExecuteIntOnClosed", "database is not open",
     [](connection&) {
         connection closed;
         closed.execute_int("SELECT 1");
     }},
    {"CommandOnClosed", "database is not open",
     [](connection&) {
         connection closed;
         command cmd(closed, "SELECT 1");
     }},
    {"NothingToRead", "nothing to read",
     [](connection& c) { c.execute_int("SELECT a FROM t WHERE a > 100"); }},
    {"NoSuchColumn", "no such column",
     [](connection& c) {
         command cmd(c, "SELECT a, b FROM t");
         reader r = cmd.execute_reader();
         r.read();
         r.get_string(u"t_desc");
     }},
    {"NameIsCaseSensitive", "no such column",
     [](connection& c) {
         command cmd(c, "SELECT a FROM t");
         reader r = cmd.execute_reader();
         r.read();
         r.get_int(u"A");
     }},
    {"ReadOnClosedReader", "reader is closed",
     [](connection& c) {
         command cmd(c, "SELECT a FROM t");
         reader r = cmd.execute_reader();
         r.close();
         r.read();
     }},
    {"GetOnClosedReader", "reader is closed",
     [](connection& c) {
         command cmd(c, "SELECT a FROM t");
         reader r = cmd.execute_reader();
         r.read();
         r.close();
         r.get_int(0);
     }},
    {"ColumnCountOnClosedReader", "reader is closed",
     [](connection& c) {
         command cmd(c, "SELECT a FROM t");
         reader r = cmd.execute_reader();
         r.close();
         r.column_count();
     }},
};

TEST_P(FixedTexts, ThrowsDatabaseErrorWithText) {
    try {
        GetParam().action(con);
        FAIL() << "no exception";
    } catch (const database_error& e) {
        EXPECT_STREQ(e.what(), GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(All, FixedTexts, ::testing::ValuesIn(kFixedTexts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SqliteLayer, DatabaseErrorIsARuntimeError) {
    EXPECT_THROW(con.execute("SELEKT nonsense"), std::runtime_error);
    try {
        con.execute("SELEKT nonsense");
    } catch (const database_error& e) {
        EXPECT_NE(std::string(e.what()).find("syntax error"), std::string::npos) << e.what();
    }
}

TEST_F(SqliteLayer, IndexPastLastColumnIsOutOfRange) {
    con.execute("CREATE TABLE w(c0,c1,c2,c3,c4,c5,c6,c7,c8,c9,c10,c11)");
    con.execute("INSERT INTO w VALUES(0,1,2,3,4,5,6,7,8,9,10,11)");
    command cmd(con, "SELECT * FROM w");
    reader r = cmd.execute_reader();
    ASSERT_TRUE(r.read());
    EXPECT_EQ(r.get_int(11), 11);
    for (auto get : std::initializer_list<std::function<void()>>{
             [&] { r.get_int(12); }, [&] { r.get_string(12); }, [&] { r.get_double(12); },
             [&] { r.get_int64(12); }}) {
        try {
            get();
            FAIL() << "no exception";
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(e.what(), "index out of range");
        }
    }
}

TEST_F(SqliteLayer, NullColumnsReadAsEmptyAndZero) {
    command cmd(con, "SELECT a, b, c FROM t WHERE a IS NULL");
    reader r = cmd.execute_reader();
    ASSERT_TRUE(r.read());
    EXPECT_EQ(r.get_int(0), 0);
    EXPECT_EQ(r.get_int64(u"a"), 0);
    EXPECT_EQ(r.get_string(1), u"");
    EXPECT_EQ(r.get_string(u"b"), u"");
    EXPECT_EQ(r.get_double(u"c"), 0.0);
    EXPECT_FALSE(r.read());
}

TEST_F(SqliteLayer, ReadsByNameAndIndex) {
    command cmd(con, "SELECT * FROM t WHERE a = 2");
    reader r = cmd.execute_reader();
    ASSERT_TRUE(r.read());
    EXPECT_EQ(r.column_count(), 3);
    EXPECT_EQ(r.column_name(1), u"b");
    EXPECT_EQ(r.get_int(u"a"), 2);
    EXPECT_EQ(r.get_string(u"b"), u"two");
    EXPECT_DOUBLE_EQ(r.get_double(2), 2.5);
}

TEST_F(SqliteLayer, CommandRunAgainAfterReaderClosedStartsAtFirstRow) {
    command cmd(con, "SELECT a FROM t ORDER BY a DESC");
    {
        reader r = cmd.execute_reader();
        ASSERT_TRUE(r.read());
        EXPECT_EQ(r.get_int(0), 2);
        ASSERT_TRUE(r.read());
        EXPECT_EQ(r.get_int(0), 1);
        r.close();
        r.close();  // a second close does nothing
    }
    reader again = cmd.execute_reader();
    ASSERT_TRUE(again.read());
    EXPECT_EQ(again.get_int(0), 2);
}

TEST_F(SqliteLayer, ExecuteIntClosesItsReaderSoTheCommandCanRunAgain) {
    command cmd(con, "SELECT COUNT(*) FROM t");
    EXPECT_EQ(cmd.execute_int(), 3);
    con.execute("DELETE FROM t WHERE a = 1");
    EXPECT_EQ(cmd.execute_int(), 2);
    command none(con, "SELECT a FROM t WHERE a > 100");
    EXPECT_THROW(none.execute_int(), database_error);
    EXPECT_THROW(none.execute_int(), database_error);  // still usable after the failure
}

TEST_F(SqliteLayer, TransactionDroppedWithoutCommitLeavesFileUnchanged) {
    {
        transaction tr(con);
        con.execute("DELETE FROM t");
        con.execute("INSERT INTO t VALUES(9, 'nine', 9.0)");
        EXPECT_TRUE(tr.is_open());
    }
    connection second;
    second.open(dbPath());
    EXPECT_EQ(countRows(second), 3);
    EXPECT_EQ(second.execute_int("SELECT COUNT(*) FROM t WHERE a = 9"), 0);
}

TEST_F(SqliteLayer, CommittedTransactionIsSeenByASecondConnection) {
    {
        transaction tr(con);
        con.execute("INSERT INTO t VALUES(9, 'nine', 9.0)");
        tr.commit();
        EXPECT_FALSE(tr.is_open());
    }
    connection second;
    second.open(dbPath());
    EXPECT_EQ(countRows(second), 4);
}

TEST_F(SqliteLayer, FailingRollbackInDestructorDoesNotThrow) {
    EXPECT_NO_THROW({
        transaction tr(con);
        // Ends the transaction behind the object's back, so its own rollback fails.
        con.execute("commit;");
        EXPECT_THROW(con.execute("rollback;"), database_error);
    });
    EXPECT_EQ(countRows(con), 3);
}

TEST_F(SqliteLayer, CloseWithLiveStatementFailsAndKeepsTheHandle) {
    {
        command cmd(con, "SELECT a FROM t");
        EXPECT_THROW(con.close(), database_error);
        EXPECT_TRUE(con.is_open());
    }
    EXPECT_NO_THROW(con.close());
    EXPECT_FALSE(con.is_open());
    EXPECT_NO_THROW(con.close());
}

TEST_F(SqliteLayer, OpenOnAnOpenConnectionMovesToTheNewFile) {
    const std::u16string other = toU16((folder / "other.sq3").string());
    con.open(other);
    con.execute("CREATE TABLE o(x)");
    connection check;
    check.open(other);
    EXPECT_EQ(check.execute_int("SELECT COUNT(*) FROM sqlite_master WHERE name='o'"), 1);
}

class BoundText : public SqliteLayer, public ::testing::WithParamInterface<std::u16string> {};

TEST_P(BoundText, RoundTripsUnchanged) {
    command insert(con, "INSERT INTO t(a, b) VALUES(?, ?)");
    insert.bind_int(1, 77);
    insert.bind_text(2, GetParam());
    insert.execute();
    command select(con, u"SELECT b FROM t WHERE a = ?");
    select.bind_int64(1, 77);
    reader r = select.execute_reader();
    ASSERT_TRUE(r.read());
    EXPECT_EQ(r.get_string(0), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Values, BoundText,
                         ::testing::Values(std::u16string(u"a\0b\0", 4),
                                           std::u16string(10000, u'ż'), u"zażółć gęślą jaźń", u"",
                                           u"' OR 1=1 --"));

}  // namespace
