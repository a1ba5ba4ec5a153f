// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvRowReader.h"

#include "CsvValues.h"
#include "KindCodes.h"
#include "StatementValues.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

QString joined(const QStringList& parts) {
    QStringList present;
    for (const QString& part : parts) {
        if (!part.isEmpty()) {
            present += part;
        }
    }
    return present.join(u' ');
}

bool isDateOrAmount(CsvColumnRole role) {
    return role == CsvColumnRole::OperationDate || role == CsvColumnRole::PostingDate ||
           role == CsvColumnRole::Amount || role == CsvColumnRole::Debit ||
           role == CsvColumnRole::Credit;
}

QString currencyCode(const QString& written) {
    const QString code = written.trimmed();
    return code.compare(u"zł", Qt::CaseInsensitive) == 0 ? QStringLiteral("PLN") : code.toUpper();
}

}  // namespace

// The texts of one row by role.
struct CsvRowReader::Values {
    QString operationDate, postingDate, amount, debit, credit, hold, status;
    QString ownAccount, identifier, currency, counterpartyAccount;
    QString senderAccount, recipientAccount;
    QStringList names, senderNames, recipientNames, titles, kinds;
    QStringList detailNames, detailAccounts, detailOther;
};

CsvRowReader::CsvRowReader(const CsvProfile& profile, QStringList headerNames, Fail fail)
    : m_profile(profile), m_headerNames(std::move(headerNames)), m_fail(std::move(fail)) {
    for (size_t i = 0; i < profile.columns.size(); ++i) {
        if (isDateOrAmount(profile.columns[i])) {
            m_fieldsNeeded = int(i) + 1;
        }
    }
}

QString CsvRowReader::CleanAccount(const QString& written) {
    QString text = written.trimmed();
    if (text.startsWith(u'=')) {
        text.remove(0, 1);
    }
    text.remove(u'\'').remove(u'"');
    text = text.trimmed();
    if (const auto nrb = StatementValues::OwnAccountNrb(text.toStdU16String())) {
        return QString::fromStdU16String(*nrb);
    }
    static const QRegularExpression number(QStringLiteral("(PL)?[0-9][0-9 ]{24,}[0-9]"));
    const QRegularExpressionMatch found = number.match(text);
    if (found.hasMatch()) {
        if (const auto nrb = StatementValues::OwnAccountNrb(found.captured().toStdU16String())) {
            return QString::fromStdU16String(*nrb);
        }
    }
    return text;
}

QString CsvRowReader::columnName(CsvColumnRole role) const {
    const auto at = std::find(m_profile.columns.begin(), m_profile.columns.end(), role);
    const qsizetype index = at - m_profile.columns.begin();
    if (index < m_headerNames.size() && !m_headerNames[index].isEmpty()) {
        return QStringLiteral("„%1”").arg(m_headerNames[index]);
    }
    return QStringLiteral("%1").arg(index + 1);
}

CsvRowReader::Values CsvRowReader::collect(const CsvRecord& record) const {
    Values v;
    const qsizetype count = std::max(record.fields.size(), qsizetype(m_profile.columns.size()));
    for (qsizetype c = 0; c < count; ++c) {
        const QString text = c < record.fields.size() ? record.fields[c].trimmed() : QString();
        switch (m_profile.roleOf(int(c))) {
            case CsvColumnRole::None:
                break;
            case CsvColumnRole::OperationDate:
                v.operationDate = text;
                break;
            case CsvColumnRole::PostingDate:
                v.postingDate = text;
                break;
            case CsvColumnRole::Amount:
                v.amount = text;
                break;
            case CsvColumnRole::Debit:
                v.debit = text;
                break;
            case CsvColumnRole::Credit:
                v.credit = text;
                break;
            case CsvColumnRole::HoldAmount:
                v.hold = text;
                break;
            case CsvColumnRole::Status:
                v.status = text;
                break;
            case CsvColumnRole::OwnAccount:
                v.ownAccount = text;
                break;
            case CsvColumnRole::Identifier:
                v.identifier = text;
                break;
            case CsvColumnRole::Currency:
                v.currency = text;
                break;
            case CsvColumnRole::CounterpartyAccount:
                v.counterpartyAccount = text;
                break;
            case CsvColumnRole::SenderAccount:
                v.senderAccount = text;
                break;
            case CsvColumnRole::RecipientAccount:
                v.recipientAccount = text;
                break;
            case CsvColumnRole::CounterpartyName:
                v.names += text;
                break;
            case CsvColumnRole::SenderName:
                v.senderNames += text;
                break;
            case CsvColumnRole::RecipientName:
                v.recipientNames += text;
                break;
            case CsvColumnRole::Title:
                v.titles += text;
                break;
            case CsvColumnRole::KindText:
                v.kinds += text;
                break;
            case CsvColumnRole::Details: {
                // "Nazwa odbiorcy: …", "Rachunek nadawcy: …", "Tytuł: …"; anything else goes
                // after the title, with its label.
                const qsizetype colon = text.indexOf(u':');
                const QString label = text.left(std::max<qsizetype>(colon, 0)).trimmed().toLower();
                const QString value = text.mid(colon + 1).trimmed();
                if (label.startsWith(u"nazwa ") || label == u"odbiorca" || label == u"nadawca") {
                    v.detailNames += value;
                } else if (label.startsWith(u"rachunek ") || label == u"numer rachunku") {
                    v.detailAccounts += value;
                } else {
                    (label == u"tytuł" ? v.titles : v.detailOther) +=
                        label == u"tytuł" ? value : text;
                }
                break;
            }
        }
    }
    return v;
}

int64_t CsvRowReader::dateOf(const CsvRecord& record, const QString& text,
                             CsvColumnRole role) const {
    const auto day = CsvValues::Date(text, m_profile.dateFormat);
    if (!day) {
        m_fail(record.line, QStringLiteral("nieczytelna data „%1” w kolumnie %2 (format %3).")
                                .arg(text, columnName(role), m_profile.dateFormat));
    }
    return day.value_or(0);
}

std::optional<int64_t> CsvRowReader::amountOf(const CsvRecord& record, const QString& text,
                                              CsvColumnRole role, QString* currency) const {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const auto amount =
        CsvValues::ParseAmount(text, m_profile.decimalSign, m_profile.thousandsSeparator);
    if (!amount) {
        m_fail(record.line,
               QStringLiteral("nieczytelna kwota „%1” w kolumnie %2.").arg(text, columnName(role)));
        return std::nullopt;
    }
    if (currency->isEmpty()) {
        *currency = amount->currency;
    }
    return amount->grosze;
}

CsvRow CsvRowReader::read(const CsvRecord& record) const {
    if (record.fields.size() < m_fieldsNeeded) {
        m_fail(record.line, QStringLiteral("%1 pól, a profil „%2” potrzebuje co najmniej %3 "
                                           "(czy separator pól jest właściwy?).")
                                .arg(record.fields.size())
                                .arg(m_profile.name)
                                .arg(m_fieldsNeeded));
    }
    const Values v = collect(record);
    CsvRow row;
    StatementOperation& op = row.operation;
    if (v.operationDate.isEmpty() && v.postingDate.isEmpty()) {
        m_fail(record.line, QStringLiteral("brak daty operacji."));
    }
    const int64_t operationDate =
        v.operationDate.isEmpty() ? 0
                                  : dateOf(record, v.operationDate, CsvColumnRole::OperationDate);
    const int64_t postingDate =
        v.postingDate.isEmpty() ? 0 : dateOf(record, v.postingDate, CsvColumnRole::PostingDate);
    op.operationDate = operationDate ? operationDate : postingDate;
    op.bookingDate = postingDate ? postingDate : operationDate;

    QString amountCurrency;
    const auto amount = amountOf(record, v.amount, CsvColumnRole::Amount, &amountCurrency);
    const auto debit = amountOf(record, v.debit, CsvColumnRole::Debit, &amountCurrency);
    const auto credit = amountOf(record, v.credit, CsvColumnRole::Credit, &amountCurrency);
    const auto hold = amountOf(record, v.hold, CsvColumnRole::HoldAmount, &amountCurrency);
    if (debit.value_or(0) != 0 && credit.value_or(0) != 0) {
        m_fail(record.line, QStringLiteral("kwota jest i w obciążeniach, i w uznaniach."));
    }
    if (amount) {
        op.amount = *amount;
    } else if (debit || credit) {
        op.amount = std::abs(credit.value_or(0)) - std::abs(debit.value_or(0));
    } else if (hold) {
        op.amount = *hold;
    } else {
        m_fail(record.line, QStringLiteral("brak kwoty."));
    }
    op.direction = op.amount >= 0 ? 1 : 0;
    const bool in = op.direction == 1;
    // A hold is pending while the row has no booked amount of its own.
    const bool held = !amount && !debit && !credit && hold;
    op.booked = !held && !(!v.status.isEmpty() &&
                           m_profile.pendingValues.contains(v.status, Qt::CaseInsensitive));

    QString account = v.counterpartyAccount;
    for (const QString& other :
         {in ? v.senderAccount : v.recipientAccount, v.detailAccounts.value(0)}) {
        account = account.isEmpty() ? other : account;
    }
    op.counterpartyAccount =
        (account.isEmpty() ? QString() : CleanAccount(account)).toStdU16String();
    op.counterpartyName =
        joined(v.names + (in ? v.senderNames : v.recipientNames) + v.detailNames).toStdU16String();
    const QString kind = joined(v.kinds);
    const QString title = joined(v.titles + v.detailOther);
    op.title = (title.isEmpty() ? kind : title).toStdU16String();
    op.kind = KindCodes::FromBankText(kind, op.direction);
    op.fileId = v.identifier.toStdU16String();

    row.ownAccount = v.ownAccount.isEmpty() ? QString() : CleanAccount(v.ownAccount);
    const QString ownSide = in ? v.recipientAccount : v.senderAccount;
    row.ownSideAccount = ownSide.isEmpty() ? QString() : CleanAccount(ownSide);
    row.currency = v.currency.isEmpty() ? amountCurrency : currencyCode(v.currency);
    return row;
}
