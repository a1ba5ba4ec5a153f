// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatementChecks.h"

#include "ImportError.h"
#include "StatementValues.h"

#include <QString>

namespace {

QString described(const Statement& statement) {
    const QString account = QString::fromStdU16String(statement.account);
    if (statement.reference.empty()) {
        return QStringLiteral("rachunku %1").arg(account);
    }
    return QStringLiteral("„%1” rachunku %2")
        .arg(QString::fromStdU16String(statement.reference), account);
}

}  // namespace

namespace StatementChecks {

std::u16string OwnAccount(const Statement& statement, const std::optional<std::u16string>& given) {
    const auto fromFile = StatementValues::OwnAccountNrb(statement.account);
    const auto typed = given ? StatementValues::OwnAccountNrb(*given) : std::nullopt;
    if (given && !typed) {
        throw ImportError(QStringLiteral("Podany rachunek %1 nie jest poprawnym numerem NRB.")
                              .arg(QString::fromStdU16String(*given))
                              .toStdString());
    }
    if (fromFile && typed && *fromFile != *typed) {
        throw ImportError(
            QStringLiteral("Wyciąg dotyczy rachunku %1, a nie podanego %2.")
                .arg(QString::fromStdU16String(*fromFile), QString::fromStdU16String(*typed))
                .toStdString());
    }
    if (fromFile) {
        return *fromFile;
    }
    if (typed) {
        return *typed;
    }
    if (statement.account.empty()) {
        throw ImportError("Plik nie podaje rachunku; wskaż go opcją --account.");
    }
    throw ImportError(QStringLiteral("Rachunek %1 z pliku nie jest poprawnym numerem NRB; wskaż "
                                     "rachunek opcją --account.")
                          .arg(QString::fromStdU16String(statement.account))
                          .toStdString());
}

void CheckCurrency(const Statement& statement) {
    if (statement.currency.empty() || statement.currency == u"PLN") {
        return;
    }
    throw ImportError(QStringLiteral("Wyciąg %1 jest w walucie %2; Tavro przyjmuje tylko złote "
                                     "(PLN).")
                          .arg(described(statement), QString::fromStdU16String(statement.currency))
                          .toStdString());
}

std::optional<std::string> BalanceMismatch(const Statement& statement) {
    if (!statement.openingBalance || !statement.closingBalance) {
        return std::nullopt;
    }
    int64_t expected = *statement.openingBalance;
    for (const StatementOperation& op : statement.operations) {
        expected += op.booked ? op.amount : 0;
    }
    if (expected == *statement.closingBalance) {
        return std::nullopt;
    }
    using StatementValues::FormatGrosze;
    return QStringLiteral(
               "Saldo wyciągu %1 się nie zgadza: saldo początkowe i operacje dają "
               "%2 zł, a saldo końcowe to %3 zł.")
        .arg(described(statement), FormatGrosze(expected), FormatGrosze(*statement.closingBalance))
        .toStdString();
}

void CheckFile(const StatementFile& file, const std::optional<std::u16string>& givenAccount,
               bool ignoreBalance) {
    for (const Statement& statement : file.statements) {
        OwnAccount(statement, givenAccount);
        CheckCurrency(statement);
        if (ignoreBalance) {
            continue;
        }
        if (const auto mismatch = BalanceMismatch(statement)) {
            throw ImportError(*mismatch);
        }
    }
}

}  // namespace StatementChecks
