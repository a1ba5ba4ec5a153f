// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One row of a bank CSV turned into an operation, by the roles a profile gives its columns.

#include "CsvProfile.h"
#include "CsvRecords.h"
#include "Statement.h"

#include <QString>
#include <QStringList>

#include <functional>

struct CsvRow {
    StatementOperation operation;
    QString ownAccount;      // from the own-account column; empty when none
    QString ownSideAccount;  // the sender's account of money out, the recipient's of money in
    QString currency;        // from the currency column or the amount; empty when none
    int line = 0;
};

class CsvRowReader {
public:
    // `fail` reports a fault of the row (its line and a Polish description) and does not return.
    using Fail = std::function<void(int line, const QString& what)>;

    CsvRowReader(const CsvProfile& profile, QStringList headerNames, Fail fail);

    CsvRow read(const CsvRecord& record) const;

    // An account as written, without apostrophes, quotes or a leading "=": the 26 digits when it
    // holds a valid NRB (also among other words: "eKonto 12 3456 ..."), else the text.
    static QString CleanAccount(const QString& written);

private:
    struct Values;
    Values collect(const CsvRecord& record) const;
    void readDates(const CsvRecord& record, const Values& v, StatementOperation& op) const;
    // Also whether the row is booked; gives the currency an amount names.
    QString readAmount(const CsvRecord& record, const Values& v, StatementOperation& op) const;
    int64_t dateOf(const CsvRecord& record, const QString& text, CsvColumnRole role) const;
    std::optional<int64_t> amountOf(const CsvRecord& record, const QString& text,
                                    CsvColumnRole role, QString* currency) const;
    QString columnName(CsvColumnRole role) const;

    const CsvProfile& m_profile;
    QStringList m_headerNames;
    Fail m_fail;
    int m_fieldsNeeded = 0;  // past the last date or amount column
};
