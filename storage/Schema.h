// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every statement the program issues, in one place. Values are always bound as
// parameters ('?'), so no text can change a statement.

#include <functional>
#include <string>

namespace sqlite3x {
class connection;
}
class DatabaseCheck;

namespace Schema {

inline constexpr const char* kAccountsExist =
    "select count(*) from sqlite_master where name='accounts'";
inline constexpr const char* kCreateAccounts =
    "CREATE TABLE accounts(a_id VARCHAR(48) NOT NULL, a_number VARCHAR(32) NOT NULL, a_user "
    "VARCHAR(64) NOT NULL, a_name VARCHAR(64) NOT NULL, a_pass VARCHAR(64) NOT NULL, a_type "
    "INTEGER NOT NULL, a_auto_get INTEGER NOT NULL )";
inline constexpr const char* kCreateTransactions =
    "CREATE TABLE transactions(t_id INTEGER NOT NULL PRIMARY KEY, t_from_acc VARCHAR(32), "
    "t_from_name VARCHAR(255), t_desc VARCHAR(255), t_amount FLOAT, t_to_acc VARCHAR(32), t_tid "
    "INTEGER, t_tio INTEGER, t_date1 INTEGER, t_date2 INTEGER, t_class INTEGER, t_user "
    "VARCHAR(48) )";

// The main list: newest posting date first, then the highest bank number.
inline constexpr const char* kSelectHistory =
    "SELECT * FROM transactions ORDER BY t_date2 DESC, t_tid DESC";
inline constexpr const char* kSelectAccountNames =
    "SELECT a_number, a_name FROM accounts ORDER BY a_name ASC";
// The download selector's accounts: those a bank module serves.
inline constexpr const char* kSelectDownloadAccountNames =
    "SELECT a_number, a_name FROM accounts WHERE a_type<>-1 ORDER BY a_name ASC";
inline constexpr const char* kSelectAllAccounts = "SELECT * FROM accounts";
inline constexpr const char* kSelectAccountsByName =
    "SELECT * FROM accounts ORDER BY a_name ASC, a_pass ASC";
inline constexpr const char* kSelectAccountByNumber = "SELECT * FROM accounts WHERE a_number=?";
inline constexpr const char* kDeleteAllTransactions = "DELETE FROM transactions";

// Lets the two statements below find an operation without reading the whole table; created at
// every start, so files made before it existed get it too.
inline constexpr const char* kCreateOperationIndex =
    "CREATE INDEX IF NOT EXISTS transactions_to_acc_tid ON transactions(t_to_acc, t_tid)";
// Lets an imported file find the stored rows posted within its dates without reading the whole
// table; created at every start like the one above.
inline constexpr const char* kCreateOperationDateIndex =
    "CREATE INDEX IF NOT EXISTS transactions_date ON transactions(t_date2)";

// Storing one downloaded operation (1 = t_tid, 2 = t_to_acc).
inline constexpr const char* kCountOperation =
    "SELECT COUNT(*) FROM transactions WHERE t_tid = ? AND t_to_acc=?";
inline constexpr const char* kDeleteOperation =
    "DELETE FROM transactions WHERE t_tid = ? AND t_to_acc=?";
// 1 t_from_acc, 2 t_from_name, 3 t_desc, 4 t_amount, 5 t_tid, 6 t_tio, 7 t_date1,
// 8 t_date2, 9 t_to_acc, 10 t_user, 11 t_class
inline constexpr const char* kInsertOperation =
    "INSERT INTO transactions (t_from_acc, t_from_name, t_desc, t_amount, t_tid, t_tio, t_date1, "
    "t_date2, t_to_acc, t_user, t_class) VALUES(?,?,?,?,?,?,?,?,?,?,?)";

// a_type of an account filled only from statement files: no bank module serves it, and downloads
// leave it out.
inline constexpr int kFileOnlyAccountType = -1;

// The account manager rewrites the whole list (1 number, 2 user, 3 name, 4 password, 5 type).
inline constexpr const char* kDeleteAllAccounts = "DELETE FROM accounts";
inline constexpr const char* kInsertAccount = "INSERT INTO accounts VALUES(0, ?, ?, ?, ?, ?, 0 )";
inline constexpr const char* kSelectManagedAccounts =
    "SELECT a_name, a_number, a_user, a_pass, a_auto_get, a_type FROM accounts ORDER BY a_name";

// 2 when both indexes made at start are there.
inline constexpr const char* kStartIndexesExist =
    "select count(*) from sqlite_master where name IN ('transactions_to_acc_tid', "
    "'transactions_date')";

// Statement import. Its own tables only; everything in them refers to an operation by its own
// account and bank number (t_to_acc, t_tid), never by t_id. Created when a file is first imported.
inline constexpr const char* kCreateImportBatches =
    "CREATE TABLE IF NOT EXISTS import_batches(b_id INTEGER NOT NULL PRIMARY KEY, b_file "
    "VARCHAR(255) NOT NULL, b_sha256 VARCHAR(64) NOT NULL, b_format VARCHAR(8) NOT NULL, b_time "
    "INTEGER NOT NULL, b_new INTEGER NOT NULL, b_known INTEGER NOT NULL, b_probable INTEGER NOT "
    "NULL, b_skipped INTEGER NOT NULL)";
// k_created: 1 when the batch stored the row, 0 when it only linked the key to a row already there.
inline constexpr const char* kCreateImportKeys =
    "CREATE TABLE IF NOT EXISTS import_keys(k_account VARCHAR(32) NOT NULL, k_key VARCHAR(255) NOT "
    "NULL, k_tid INTEGER NOT NULL, k_batch INTEGER NOT NULL, k_created INTEGER NOT NULL, PRIMARY "
    "KEY(k_account, k_key)) WITHOUT ROWID";
inline constexpr const char* kCreateImportKeyRowIndex =
    "CREATE INDEX IF NOT EXISTS import_keys_row ON import_keys(k_account, k_tid)";
// Earlier builds kept an expression index for matching imported and downloaded operations.
// Matching now reads the rows it needs once; the index only cost every insert its upkeep.
inline constexpr const char* kRetiredMatchIndexExists =
    "select count(*) from sqlite_master where name='transactions_match'";
inline constexpr const char* kDropRetiredMatchIndex = "DROP INDEX transactions_match";

// 1 file name, 2 SHA-256, 3 format, 4 time; the counts are set when the file is done.
inline constexpr const char* kInsertImportBatch =
    "INSERT INTO import_batches (b_file, b_sha256, b_format, b_time, b_new, b_known, b_probable, "
    "b_skipped) VALUES(?,?,?,?,0,0,0,0)";
inline constexpr const char* kUpdateImportBatchCounts =
    "UPDATE import_batches SET b_new=?, b_known=?, b_probable=?, b_skipped=? WHERE b_id=?";
inline constexpr const char* kCountImportBatchesBySha =
    "SELECT COUNT(*) FROM import_batches WHERE b_sha256=?";
// Has account 1 any key at all?
inline constexpr const char* kCountAccountKeys =
    "SELECT COUNT(*) FROM (SELECT 1 FROM import_keys WHERE k_account=? LIMIT 1)";
// A key is known while its operation exists (1 account, 2 key).
inline constexpr const char* kSelectKnownKey =
    "SELECT k_tid FROM import_keys JOIN transactions ON t_to_acc=k_account AND t_tid=k_tid WHERE "
    "k_account=? AND k_key=?";
// 1 account, 2 key, 3 t_tid, 4 batch, 5 created
inline constexpr const char* kInsertImportKey =
    "INSERT OR REPLACE INTO import_keys (k_account, k_key, k_tid, k_batch, k_created) "
    "VALUES(?,?,?,?,?)";
inline constexpr const char* kLowestOperationNumber =
    "SELECT MIN(t_tid) FROM transactions WHERE t_to_acc=?";
// Stored operations without a key posted between 1 and 2, of every account, that operations of
// a file may probably be; found through the posting-date index. The columns after t_to_acc as
// ProbableRows reads them.
inline constexpr const char* kSelectUnkeyedOperations =
    "SELECT t_to_acc, t_id, t_tid, t_tio, t_amount, t_date2, t_from_acc, t_desc FROM transactions "
    "WHERE t_date2 BETWEEN ? AND ? AND NOT EXISTS (SELECT 1 FROM import_keys WHERE "
    "k_account=t_to_acc AND k_tid=t_tid)";
// The compared texts of one row (1 t_id), read while the rows stay as they were read.
inline constexpr const char* kSelectOperationTexts =
    "SELECT t_from_acc, t_desc FROM transactions WHERE t_id=?";
inline constexpr const char* kCountAccount = "SELECT COUNT(*) FROM accounts WHERE a_number=?";
inline constexpr const char* kDeleteAllImportKeys = "DELETE FROM import_keys";
inline constexpr const char* kDeleteAllImportBatches = "DELETE FROM import_batches";
inline constexpr const char* kImportBatchesExist =
    "select count(*) from sqlite_master where name='import_batches'";
// When a file was first imported (1 SHA-256).
inline constexpr const char* kSelectFirstImportOfFile =
    "SELECT b_time FROM import_batches WHERE b_sha256=? ORDER BY b_id LIMIT 1";

// Looking back at imports and undoing one (the import window).
inline constexpr const char* kSelectImportBatches =
    "SELECT b_id, b_file, b_format, b_time, b_new, b_known, b_probable, b_skipped FROM "
    "import_batches ORDER BY b_time DESC, b_id DESC";
inline constexpr const char* kHighestImportBatch =
    "SELECT COALESCE(MAX(b_id), 0) FROM import_batches";
// The last earlier import of a file: 1 SHA-256, 2 the batch to leave out.
inline constexpr const char* kSelectEarlierImport =
    "SELECT b_time FROM import_batches WHERE b_sha256=? AND b_id<>? ORDER BY b_time DESC LIMIT 1";
inline constexpr const char* kCountImportBatch = "SELECT COUNT(*) FROM import_batches WHERE b_id=?";
// A batch's key of an operation (1 account, 2 key).
inline constexpr const char* kSelectImportKey =
    "SELECT k_batch, k_created FROM import_keys WHERE k_account=? AND k_key=?";
// The rows a batch stored, where they are now: a key moves with its row when a download takes
// the row's number, and stops being the creator's when a download replaces the row.
inline constexpr const char* kSelectBatchRows =
    "SELECT k_account, k_tid FROM import_keys JOIN transactions ON t_to_acc=k_account AND "
    "t_tid=k_tid WHERE k_batch=? AND k_created=1";
// 1 account, 2 t_tid
inline constexpr const char* kDeleteRowKeys =
    "DELETE FROM import_keys WHERE k_account=? AND k_tid=?";
inline constexpr const char* kDeleteBatchCreatedKeys =
    "DELETE FROM import_keys WHERE k_batch=? AND k_created=1";
// An operation the user would not have linked to a probable row, stored after all: its key goes
// to its own new row (1 t_tid, 2 account, 3 key).
inline constexpr const char* kRelinkImportKey =
    "UPDATE import_keys SET k_tid=?, k_created=1 WHERE k_account=? AND k_key=?";
inline constexpr const char* kDeleteImportBatch = "DELETE FROM import_batches WHERE b_id=?";

// A downloaded operation meeting imported ones (download side).
inline constexpr const char* kImportKeysExist =
    "select count(*) from sqlite_master where name='import_keys'";
// Is the pair an imported row (1 account, 2 t_tid)?
inline constexpr const char* kCountImportedRow =
    "SELECT COUNT(*) FROM import_keys WHERE k_account=? AND k_tid=? AND k_created=1";
// 1 new t_tid, 2 account, 3 old t_tid
inline constexpr const char* kRenumberOperation =
    "UPDATE transactions SET t_tid=? WHERE t_to_acc=? AND t_tid=?";
// 1 new t_tid, 2 created, 3 account, 4 old t_tid
inline constexpr const char* kMoveImportKeys =
    "UPDATE import_keys SET k_tid=?, k_created=? WHERE k_account=? AND k_tid=?";
// The rows an import stored in account 1, that a downloaded operation may be; the columns as
// ProbableRows reads them.
inline constexpr const char* kSelectImportedOperations =
    "SELECT t_id, t_tid, t_tio, t_amount, t_date2, t_from_acc, t_desc FROM import_keys JOIN "
    "transactions ON t_to_acc=k_account AND t_tid=k_tid WHERE k_account=? AND k_created=1";

using ConsoleLine = std::function<void(const std::u16string&)>;

// Empties the operation list and, where a file was ever imported, the import's keys and batches,
// all or nothing. Throws sqlite3x::database_error.
void ClearOperations(sqlite3x::connection& con);

// Drops the index earlier builds made for matching, where it is still there. Throws
// sqlite3x::database_error.
void DropRetiredMatchIndex(sqlite3x::connection& con);

// Throws sqlite3x::database_error (SQLITE_CORRUPT) unless the whole file reads as sound.
void RefuseDamagedFile(sqlite3x::connection& con);

// Opens the database file (created with mode 0600 when missing), refuses a damaged one
// (SQLITE_CORRUPT) before writing anything, creates both tables when `accounts` is missing,
// and the operation index when it is missing. Throws sqlite3x::database_error, with SQLite's
// result code, on any failure but that of the index.
// With a deferred check, a file that needs no writing is left to it (see DatabaseCheck); the
// caller must have its verdict before writing anything.
void OpenDatabase(sqlite3x::connection& con, const std::u16string& path, const ConsoleLine& console,
                  DatabaseCheck* deferredCheck = nullptr);

}  // namespace Schema
