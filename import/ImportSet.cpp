// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportSet.h"

#include "ImportError.h"
#include "ImportPreview.h"
#include "Schema.h"
#include "sqlite3x.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

AccountCounts& countsOf(ImportSummary& summary, const std::u16string& account) {
    return *std::find_if(summary.accounts.begin(), summary.accounts.end(),
                         [&account](const AccountCounts& c) { return c.account == account; });
}

// A probable match the user ticked is an operation of its own, and the key the import step
// linked to the downloaded row goes to it.
void storeAsNew(sqlite3x::connection& db, const OperationPlace& place, const StatementOperation& op,
                int32_t tid) {
    sqlite3x::command insert(db, Schema::kInsertOperation);
    StatementImport::InsertOperation(insert, place.account, op, tid);
    sqlite3x::command relink(db, Schema::kRelinkImportKey);
    relink.bind_int(1, tid);
    relink.bind_text(2, place.account);
    relink.bind_text(3, place.key);
    relink.execute();
}

// The numbers of the ticked ones of each account: below the lowest stored, rising in file order
// as the import step numbers.
std::map<std::u16string, int32_t> firstNumbers(sqlite3x::connection& db,
                                               const std::vector<OperationPlace>& places,
                                               const std::vector<size_t>& forced) {
    std::map<std::u16string, int32_t> first;
    for (const size_t i : forced) {
        --first[places[i].account];
    }
    sqlite3x::command lowest(db, Schema::kLowestOperationNumber);
    for (auto& [account, number] : first) {
        lowest.bind_text(1, account);
        number += std::min(lowest.execute_int(), 0);
    }
    return first;
}

void storeCounts(sqlite3x::connection& db, const ImportSummary& summary) {
    AccountCounts total;
    for (const AccountCounts& c : summary.accounts) {
        total.stored += c.stored;
        total.known += c.known;
        total.probable += c.probable;
        total.skipped += c.skipped;
    }
    sqlite3x::command update(db, Schema::kUpdateImportBatchCounts);
    update.bind_int(1, total.stored);
    update.bind_int(2, total.known);
    update.bind_int(3, total.probable);
    update.bind_int(4, total.skipped);
    update.bind_int64(5, db.execute_int(Schema::kHighestImportBatch));
    update.execute();
}

// The user's ticks over what the import step would do: a new operation left unticked is skipped,
// a probable one ticked is stored; already stored ones stay as they are.
ImportSummary runChosen(sqlite3x::connection& db, const ImportFile& one) {
    const std::vector<OperationState> states = ImportPreview::Run(db, one.file, one.request).states;
    const std::set<size_t> chosen(one.chosen->begin(), one.chosen->end());
    std::vector<size_t> kept;
    std::vector<size_t> forced;
    for (size_t i = 0; i < states.size(); ++i) {
        const bool ticked = chosen.count(i) != 0;
        if (states[i] != OperationState::New || ticked) {
            kept.push_back(i);
        }
        if (states[i] == OperationState::Probable && ticked) {
            forced.push_back(i);
        }
    }
    ImportRequest request = one.request;
    request.ignoreBalance = true;  // the preview above checked the whole file
    const StatementFile file = ImportSet::Chosen(one.file, kept);
    ImportSummary summary = StatementImport(db).run(file, request);
    const std::vector<OperationPlace> places = ImportPreview::Places(file, request);
    const std::vector<const StatementOperation*> ops = ImportPreview::Operations(file);
    std::map<std::u16string, int32_t> next = firstNumbers(db, places, forced);
    for (const size_t i : forced) {
        storeAsNew(db, places[i], *ops[i], next[places[i].account]++);
        AccountCounts& counts = countsOf(summary, places[i].account);
        --counts.probable;
        ++counts.stored;
    }
    if (!forced.empty()) {
        storeCounts(db, summary);
    }
    return summary;
}

ImportSummary runOne(sqlite3x::connection& database, const ImportFile& one) {
    return one.chosen ? runChosen(database, one)
                      : StatementImport(database).run(one.file, one.request);
}

}  // namespace

namespace ImportSet {

StatementFile Chosen(const StatementFile& file, const std::vector<size_t>& chosen) {
    const std::set<size_t> wanted(chosen.begin(), chosen.end());
    StatementFile copy = file;
    size_t place = 0;
    for (Statement& statement : copy.statements) {
        for (StatementOperation& op : statement.operations) {
            op.booked = op.booked && wanted.count(place) != 0;
            ++place;
        }
    }
    return copy;
}

std::vector<ImportSummary> Run(sqlite3x::connection& database,
                               const std::vector<ImportFile>& files) {
    std::vector<ImportSummary> summaries;
    try {
        sqlite3x::transaction all(database);
        for (const ImportFile& one : files) {
            try {
                summaries.push_back(runOne(database, one));
            } catch (const ImportError& error) {
                throw ImportError(QStringLiteral("%1: %2")
                                      .arg(QString::fromStdU16String(one.request.fileName),
                                           QString::fromUtf8(error.what()))
                                      .toStdString());
            }
        }
        all.commit();
    } catch (const sqlite3x::database_error& error) {
        throw ImportError(
            QStringLiteral("Zapis do bazy danych się nie udał (%1); niczego nie zapisano.")
                .arg(QString::fromUtf8(error.what()))
                .toStdString());
    }
    return summaries;
}

QString CountsLine(const AccountCounts& counts) {
    return QStringLiteral("%1: nowe %2, już zapisane %3, prawdopodobnie zapisane %4, pominięte %5")
        .arg(QString::fromStdU16String(counts.account))
        .arg(counts.stored)
        .arg(counts.known)
        .arg(counts.probable)
        .arg(counts.skipped);
}

}  // namespace ImportSet
