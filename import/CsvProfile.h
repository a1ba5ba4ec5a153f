// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How one bank writes its CSV history: the separators, the lines around the table, the formats
// of dates and amounts and what each column holds. A value type, stored as JSON.

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

enum class CsvColumnRole {
    None,
    OperationDate,
    PostingDate,
    Amount,
    Debit,   // money out, written with or without a minus
    Credit,  // money in
    CounterpartyName,
    CounterpartyAccount,
    SenderName,  // the counterparty of money in; the own side of money out
    RecipientName,
    SenderAccount,
    RecipientAccount,
    Title,    // several columns are joined with a space
    Details,  // "Label: value" parts (name, account, title) spread over columns
    KindText,
    OwnAccount,
    Identifier,
    Currency,
    Status,      // the row is pending when this holds one of pendingValues
    HoldAmount,  // a card hold: the row is pending, its amount is here
};

struct CsvProfile {
    QString name;
    QChar separator = u';';
    QChar quote = u'"';     // a null character: fields are never quoted
    QString encoding;       // a code page name; empty: told from the text
    int skipStart = 0;      // lines before the header (or before the first row without one)
    int skipEnd = 0;        // lines after the last row, blank lines not counted
    QString header;         // the header line, to find the table and recognise the layout
    QString commentPrefix;  // lines starting with it (e.g. "#") are never rows
    QString dateFormat = QStringLiteral("yyyy-MM-dd");
    QChar decimalSign = u',';
    QChar thousandsSeparator;  // null: none besides spaces, which are always allowed
    std::vector<CsvColumnRole> columns;
    CsvColumnRole extraColumns = CsvColumnRole::None;  // the role of columns past the list
    QStringList pendingValues;                         // of the Status column, any letter case
    // Labels of preamble or footer lines that give the own account and the balances.
    QString ownAccountLabel;
    QString openingBalanceLabel;
    QString closingBalanceLabel;
    bool fromPublicDescriptions = false;

    // What the program shows beside a profile made from public descriptions.
    static QString UncheckedNote();

    CsvColumnRole roleOf(int column) const;
    bool has(CsvColumnRole role) const;

    // The first thing that makes the profile unusable, as a Polish sentence; nothing when it is
    // fine.
    std::optional<QString> problem() const;

    QJsonObject toJson() const;
    // Throws ImportError naming the field at fault.
    static CsvProfile FromJson(const QJsonObject& json);

    static QString RoleName(CsvColumnRole role);
    static std::optional<CsvColumnRole> RoleFromName(const QString& name);
    // The roles with their Polish names, for the window's column lists.
    static QString RoleLabel(CsvColumnRole role);
    static const std::vector<CsvColumnRole>& AllRoles();

    bool operator==(const CsvProfile&) const = default;
};
