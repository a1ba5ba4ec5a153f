// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportPreview.h"

#include "ImportError.h"
#include "ImportKeys.h"
#include "Schema.h"
#include "StatementChecks.h"
#include "sqlite3x.h"

#include <QString>

#include <map>

namespace {

// One account's booked operations, with their places in the file, as the import step groups
// them to number their keys.
struct AccountBooked {
    std::vector<const StatementOperation*> ops;
    std::vector<size_t> places;
};

std::map<std::u16string, AccountBooked> bookedByAccount(const StatementFile& file,
                                                        const ImportRequest& request) {
    std::map<std::u16string, AccountBooked> accounts;
    size_t place = 0;
    for (const Statement& statement : file.statements) {
        AccountBooked& account = accounts[StatementChecks::OwnAccount(statement, request.account)];
        for (const StatementOperation& op : statement.operations) {
            if (op.booked) {
                account.ops.push_back(&op);
                account.places.push_back(place);
            }
            ++place;
        }
    }
    return accounts;
}

// What became of each booked operation, read from the keys the batch left: a key of this batch
// is a stored row (created) or a link to a probable one; any other key, or none (the operation's
// own number was there), means already stored.
void readStates(sqlite3x::connection& db, const std::vector<OperationPlace>& places, int64_t batch,
                std::vector<OperationState>& states) {
    sqlite3x::command key(db, Schema::kSelectImportKey);
    for (size_t i = 0; i < places.size(); ++i) {
        if (places[i].key.empty()) {
            continue;
        }
        key.bind_text(1, places[i].account);
        key.bind_text(2, places[i].key);
        sqlite3x::reader row = key.execute_reader();
        OperationState state = OperationState::Known;
        if (row.read() && row.get_int64(0) == batch) {
            state = row.get_int(1) != 0 ? OperationState::New : OperationState::Probable;
        }
        row.close();
        states[i] = state;
    }
}

std::optional<int64_t> earlierImport(sqlite3x::connection& db, const std::string& sha256,
                                     int64_t batch) {
    sqlite3x::command earlier(db, Schema::kSelectEarlierImport);
    earlier.bind_text(1, QString::fromStdString(sha256).toStdU16String());
    earlier.bind_int64(2, batch);
    sqlite3x::reader row = earlier.execute_reader();
    std::optional<int64_t> time;
    if (row.read()) {
        time = row.get_int64(0);
    }
    row.close();
    return time;
}

}  // namespace

namespace ImportPreview {

std::vector<OperationPlace> Places(const StatementFile& file, const ImportRequest& request) {
    std::vector<OperationPlace> places(Operations(file).size());
    for (const auto& [account, booked] : bookedByAccount(file, request)) {
        const std::vector<std::u16string> keys = ImportKeys::ForAccount(booked.ops);
        for (size_t i = 0; i < keys.size(); ++i) {
            places[booked.places[i]] = {account, keys[i]};
        }
    }
    return places;
}

std::vector<const StatementOperation*> Operations(const StatementFile& file) {
    std::vector<const StatementOperation*> ops;
    for (const Statement& statement : file.statements) {
        for (const StatementOperation& op : statement.operations) {
            ops.push_back(&op);
        }
    }
    return ops;
}

PreviewResult Run(sqlite3x::connection& database, const StatementFile& file,
                  const ImportRequest& request) {
    PreviewResult result;
    result.states.assign(Operations(file).size(), OperationState::Pending);
    ImportRequest stored = request;
    stored.dryRun = false;  // the rollback below stands in for it, after the keys are read
    try {
        sqlite3x::transaction outer(database);
        result.summary = StatementImport(database).run(file, stored);
        const int64_t batch = database.execute_int(Schema::kHighestImportBatch);
        readStates(database, Places(file, request), batch, result.states);
        result.importedAt = earlierImport(database, request.sha256, batch);
        outer.rollback();
    } catch (const sqlite3x::database_error& error) {
        throw ImportError(QStringLiteral("Odczyt bazy danych się nie udał (%1).")
                              .arg(QString::fromUtf8(error.what()))
                              .toStdString());
    }
    return result;
}

const char16_t* StateName(OperationState state) {
    switch (state) {
        case OperationState::New:
            return u"nowa";
        case OperationState::Known:
            return u"już zapisana";
        case OperationState::Probable:
            return u"prawdopodobnie zapisana";
        case OperationState::Pending:
            return u"pominięta: oczekująca";
    }
    return u"";
}

}  // namespace ImportPreview
