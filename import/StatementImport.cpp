// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatementImport.h"

#include "ImportError.h"
#include "ImportKeyList.h"
#include "ProbableMatch.h"
#include "ProbableRows.h"
#include "Schema.h"
#include "StatementChecks.h"
#include "StatementValues.h"
#include "sqlite3x.h"

#include <QString>

#include <openssl/evp.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <unordered_set>

namespace {

std::u16string lastFour(const std::u16string& account) {
    return account.substr(account.size() - std::min<size_t>(4, account.size()));
}

// A Polish IBAN is stored as its 26 digits, as the bank module stores counterparty accounts.
std::u16string storedCounterparty(const std::u16string& written) {
    if (const auto nrb = StatementValues::OwnAccountNrb(written)) {
        return *nrb;
    }
    return written;
}

}  // namespace

struct StatementImport::Statements {
    explicit Statements(sqlite3x::connection& db)
        : anyKey(db, Schema::kCountAccountKeys),
          knownKey(db, Schema::kSelectKnownKey),
          countOperation(db, Schema::kCountOperation),
          lowest(db, Schema::kLowestOperationNumber),
          unkeyed(db, Schema::kSelectUnkeyedOperations),
          texts(db, Schema::kSelectOperationTexts),
          insert(db, Schema::kInsertOperation),
          insertKey(db, Schema::kInsertImportKey),
          countAccount(db, Schema::kCountAccount),
          insertAccount(db, Schema::kInsertAccount) {}
    sqlite3x::command anyKey;
    sqlite3x::command knownKey;
    sqlite3x::command countOperation;
    sqlite3x::command lowest;
    sqlite3x::command unkeyed;
    sqlite3x::command texts;
    sqlite3x::command insert;
    sqlite3x::command insertKey;
    sqlite3x::command countAccount;
    sqlite3x::command insertAccount;
};

// One own account's booked operations of the whole file, in file order, and what the import
// learns of them before it stores any.
struct StatementImport::AccountOperations {
    std::u16string account;
    std::u16string name;  // from the file, or empty
    std::vector<const StatementOperation*> booked;
    int skipped = 0;
    ImportKeyList keys;       // of each booked operation
    std::vector<bool> known;  // its key is known, or its own number is stored
    ProbableRows probable;    // rows without a key that the others may be
};

StatementImport::StatementImport(sqlite3x::connection& database) : m_database(database) {}

StatementImport::~StatementImport() = default;

// OpenSSL's digest: a statement of 30 MB is hashed in a tenth of the time Qt's own takes.
std::string StatementImport::Sha256Hex(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) {
        throw std::bad_alloc();  // the only way a digest of bytes in memory can fail
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

const char* StatementImport::FormatName(StatementFormat format) {
    switch (format) {
        case StatementFormat::Mt940:
            return "mt940";
        case StatementFormat::Camt053:
            return "camt";
        case StatementFormat::Ofx:
            return "ofx";
        case StatementFormat::OwnCsv:
            return "csv";
        case StatementFormat::OwnXml:
            return "xml";
        case StatementFormat::BankCsv:
            return "bankcsv";
    }
    return "";
}

std::vector<StatementImport::AccountOperations> StatementImport::ByAccount(
    const StatementFile& file, const std::optional<std::u16string>& given) {
    std::vector<AccountOperations> accounts;
    for (const Statement& statement : file.statements) {
        const std::u16string number = StatementChecks::OwnAccount(statement, given);
        auto it = std::find_if(accounts.begin(), accounts.end(),
                               [&number](const auto& a) { return a.account == number; });
        if (it == accounts.end()) {
            it = accounts.insert(accounts.end(), AccountOperations{});
            it->account = number;
        }
        for (const StatementOperation& op : statement.operations) {
            if (!op.booked) {
                ++it->skipped;
                continue;
            }
            it->booked.push_back(&op);
            if (it->name.empty()) {
                it->name = statement.accountName;
            }
        }
    }
    return accounts;
}

ImportSummary StatementImport::run(const StatementFile& file, const ImportRequest& request) {
    StatementChecks::CheckFile(file, request.account, request.ignoreBalance);
    std::vector<AccountOperations> accounts = ByAccount(file, request.account);
    ImportSummary summary;
    try {
        sqlite3x::transaction transaction(m_database);  // begun here
        for (const char* create : {Schema::kCreateImportBatches, Schema::kCreateImportKeys,
                                   Schema::kCreateImportKeyRowIndex}) {
            m_database.execute(create);
        }
        Schema::DropRetiredMatchIndex(m_database);
        m_statements = std::make_unique<Statements>(m_database);
        summary.importedBefore = importedBefore(request.sha256);
        const int64_t batch = beginBatch(file.format, request);
        for (AccountOperations& account : accounts) {
            ensureAccount(account);
            findKnown(account);
        }
        readProbable(accounts);
        AccountCounts total;
        for (AccountOperations& account : accounts) {
            AccountCounts counts{account.account, 0, 0, 0, account.skipped};
            storeAccount(account, batch, counts);
            summary.accounts.push_back(counts);
            total.stored += counts.stored;
            total.known += counts.known;
            total.probable += counts.probable;
            total.skipped += counts.skipped;
        }
        endBatch(batch, total);
        m_statements.reset();
        if (request.dryRun) {
            transaction.rollback();
        } else {
            transaction.commit();
        }
    } catch (const sqlite3x::database_error& error) {
        m_statements.reset();
        throw ImportError(
            QStringLiteral("Zapis do bazy danych się nie udał (%1); niczego nie zapisano.")
                .arg(QString::fromUtf8(error.what()))
                .toStdString());
    }
    return summary;
}

bool StatementImport::importedBefore(const std::string& sha256) {
    sqlite3x::command before(m_database, Schema::kCountImportBatchesBySha);
    before.bind_text(1, QString::fromStdString(sha256).toStdU16String());
    return before.execute_int() != 0;
}

int64_t StatementImport::beginBatch(StatementFormat format, const ImportRequest& request) {
    sqlite3x::command row(m_database, Schema::kInsertImportBatch);
    row.bind_text(1, request.fileName);
    row.bind_text(2, QString::fromStdString(request.sha256).toStdU16String());
    row.bind_text(3, QString::fromLatin1(FormatName(format)).toStdU16String());
    row.bind_int64(4, request.time);
    row.execute();
    return sqlite3_last_insert_rowid(m_database.handle());
}

void StatementImport::endBatch(int64_t batch, const AccountCounts& total) {
    sqlite3x::command update(m_database, Schema::kUpdateImportBatchCounts);
    update.bind_int(1, total.stored);
    update.bind_int(2, total.known);
    update.bind_int(3, total.probable);
    update.bind_int(4, total.skipped);
    update.bind_int64(5, batch);
    update.execute();
}

void StatementImport::ensureAccount(const AccountOperations& account) {
    Statements& s = *m_statements;
    s.countAccount.bind_text(1, account.account);
    if (s.countAccount.execute_int() != 0) {
        return;
    }
    const std::u16string name =
        account.name.empty() ? u"Rachunek …" + lastFour(account.account) : account.name;
    s.insertAccount.bind_text(1, account.account);
    s.insertAccount.bind_text(2, std::u16string());
    s.insertAccount.bind_text(3, name);
    s.insertAccount.bind_text(4, std::u16string());
    s.insertAccount.bind_int(5, Schema::kFileOnlyAccountType);
    s.insertAccount.execute();
}

// Before anything is stored: keys known and own numbers already stored.
void StatementImport::findKnown(AccountOperations& account) {
    Statements& s = *m_statements;
    account.keys = ImportKeyList(account.booked);
    account.known.assign(account.booked.size(), false);
    // The first file of an account has no keys to look up, one by one.
    s.anyKey.bind_text(1, account.account);
    const bool anyKey = s.anyKey.execute_int() != 0;
    for (size_t i = 0; i < account.booked.size() && anyKey; ++i) {
        s.knownKey.bind_text(1, account.account);
        s.knownKey.bind_text(2, account.keys.key(i, *account.booked[i]));
        sqlite3x::reader known = s.knownKey.execute_reader();
        account.known[i] = known.read();
        known.close();
    }
    for (size_t i = 0; i < account.booked.size(); ++i) {
        const std::optional<int32_t>& tid = account.booked[i]->tid;
        if (!account.known[i] && tid) {
            s.countOperation.bind_int(1, *tid);
            s.countOperation.bind_text(2, account.account);
            account.known[i] = s.countOperation.execute_int() != 0;
        }
    }
}

// One pass over the stored operations finds every row without a key that an unknown operation
// of the file may be: those of the file's accounts posted within its dates.
void StatementImport::readProbable(std::vector<AccountOperations>& accounts) {
    int64_t first = std::numeric_limits<int64_t>::max();
    int64_t last = std::numeric_limits<int64_t>::min();
    for (const AccountOperations& account : accounts) {
        for (size_t i = 0; i < account.booked.size(); ++i) {
            if (!account.known[i]) {
                first = std::min(first, account.booked[i]->bookingDate);
                last = std::max(last, account.booked[i]->bookingDate);
            }
        }
    }
    if (first > last) {
        return;  // everything is known
    }
    sqlite3x::command& unkeyed = m_statements->unkeyed;
    unkeyed.bind_int64(1, first - ProbableMatch::kDistance);
    unkeyed.bind_int64(2, last + ProbableMatch::kDistance);
    sqlite3x::reader row = unkeyed.execute_reader();
    while (row.read()) {
        const std::u16string_view owner = row.get_view(0);
        for (AccountOperations& account : accounts) {
            if (account.account == owner) {
                account.probable.add(row, 1);
                break;
            }
        }
    }
    row.close();
    for (AccountOperations& account : accounts) {
        account.probable.sort();
    }
}

// First what becomes of each operation, then the new ones are stored. Operations without a
// number of their own take the numbers just below the lowest stored, rising in file order, as a
// bank numbers what happens later higher: the newest of a day stays on top, as downloaded ones
// do, and each index takes its new entries in order, packed.
void StatementImport::storeAccount(AccountOperations& account, int64_t batch,
                                   AccountCounts& counts) {
    Statements& s = *m_statements;
    // Own exports give numbers back: one this import stores is known for the rest of it.
    std::unordered_set<int32_t> numbered;
    std::vector<bool> added(account.booked.size(), false);  // a bit each: files are large
    int32_t top = 0;  // the new numbers stay below this, and below every number stored now
    size_t unnumbered = 0;
    for (size_t i = 0; i < account.booked.size(); ++i) {
        const StatementOperation& op = *account.booked[i];
        if (account.known[i] || (op.tid && !numbered.insert(*op.tid).second)) {
            ++counts.known;  // an own number already there: nothing is replaced
            continue;
        }
        const ProbableRows::Operation alike{op.direction, op.amount, op.bookingDate,
                                            op.counterpartyAccount, op.title};
        if (const auto match = account.probable.take(alike, s.texts)) {
            if (op.tid) {
                numbered.erase(*op.tid);
            }
            insertKey(account.account, account.keys.key(i, op), *match, batch, false);
            ++counts.probable;
            continue;
        }
        added[i] = true;
        ++counts.stored;
        top = op.tid ? std::min(top, *op.tid) : top;
        unnumbered += op.tid ? 0 : 1;
    }
    s.lowest.bind_text(1, account.account);
    int32_t next = std::min(s.lowest.execute_int(), top) - int32_t(unnumbered);
    for (size_t i = 0; i < added.size(); ++i) {
        if (!added[i]) {
            continue;
        }
        const StatementOperation& op = *account.booked[i];
        const int32_t tid = op.tid ? *op.tid : next++;
        InsertOperation(s.insert, account.account, op, tid);
        insertKey(account.account, account.keys.key(i, op), tid, batch, true);
    }
}

void StatementImport::InsertOperation(sqlite3x::command& insert, const std::u16string& account,
                                      const StatementOperation& op, int32_t tid) {
    insert.bind_text(1, storedCounterparty(op.counterpartyAccount));
    insert.bind_text(2, op.counterpartyName);
    insert.bind_text(3, op.title);
    insert.bind_double(4, double(op.amount) / 100.0);
    insert.bind_int(5, tid);
    insert.bind_int(6, op.direction);
    insert.bind_int64(7, op.operationDate);
    insert.bind_int64(8, op.bookingDate);
    insert.bind_text(9, account);
    insert.bind_text(10, std::u16string());
    insert.bind_int(11, op.kind);
    insert.execute();
}

void StatementImport::insertKey(const std::u16string& account, const std::u16string& key,
                                int32_t tid, int64_t batch, bool created) {
    sqlite3x::command& insert = m_statements->insertKey;
    insert.bind_text(1, account);
    insert.bind_text(2, key);
    insert.bind_int(3, tid);
    insert.bind_int64(4, batch);
    insert.bind_int(5, created ? 1 : 0);
    insert.execute();
}
