// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a bank's CSV read with a shipped profile: the first byte picks the profile, the
// second bends it (separator, quote, header, lines skipped, decimal sign, pending values), the
// rest is the file. A usable profile must also survive its JSON round trip.
#include "CsvReader.h"
#include "FuzzStatements.h"
#include "ShippedCsvProfiles.h"

namespace {

CsvProfile bent(CsvProfile profile, uint8_t bend) {
    if (bend & 1) {
        profile.separator = bend & 2 ? u',' : u'\t';
    }
    if (bend & 4) {
        profile.quote = QChar();
    }
    if (bend & 8) {
        profile.header.clear();
        profile.skipStart = bend >> 6;
    }
    if (bend & 16) {
        profile.skipEnd = 1 + (bend >> 6);
        profile.commentPrefix = QStringLiteral("#");
    }
    if (bend & 32) {
        profile.decimalSign = profile.decimalSign == u',' ? u'.' : u',';
        profile.thousandsSeparator = profile.decimalSign == u',' ? u'.' : u',';
    }
    if (bend & 64) {
        profile.columns.push_back(CsvColumnRole::Status);
        profile.pendingValues = QStringList{QStringLiteral("oczekująca")};
    }
    if (bend & 128) {
        profile.openingBalanceLabel = QStringLiteral("Saldo");
        profile.ownAccountLabel = QStringLiteral("Rachunek");
    }
    return profile;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const auto& shipped = ShippedCsvProfiles::All();
    const CsvProfile profile = bent(shipped[data[0] % shipped.size()], data[1]);
    if (!profile.problem()) {
        FUZZ_CHECK(CsvProfile::FromJson(profile.toJson()) == profile, "profile survives JSON");
    }
    const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    CsvReader::HasHeader(bytes, profile);
    FuzzStatementReader(
        data + 2, size - 2,
        [&profile](const std::string& file) {
            const std::vector<Statement> statements = CsvReader::Read(file, profile).statements;
            for (const Statement& statement : statements) {
                for (const StatementOperation& op : statement.operations) {
                    FUZZ_CHECK(op.bookingDate != 0 && op.operationDate != 0, "every row dated");
                }
            }
            return statements;
        },
        false);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzInitialize();
    return 0;
}
