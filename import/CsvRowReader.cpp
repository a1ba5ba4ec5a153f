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

QString firstPresent(const QStringList& texts) {
    for (const QString& text : texts) {
        if (!text.isEmpty()) {
            return text;
        }
    }
    return QString();
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

// The texts of one row by role, in column order.
struct CsvRowReader::Values {
    std::vector<QStringList> byRole = std::vector<QStringList>(CsvProfile::AllRoles().size());
    QStringList detailOther;  // labelled parts that are no name, account or title

    QStringList& operator[](CsvColumnRole role) { return byRole[size_t(role)]; }
    // A role given to one column at most.
    QString one(CsvColumnRole role) const { return byRole[size_t(role)].value(0); }
    QString all(CsvColumnRole role) const { return joined(byRole[size_t(role)]); }

    // "Nazwa odbiorcy: …", "Rachunek nadawcy: …", "Tytuł: …"; anything else goes after the
    // title, with its label.
    void addDetail(const QString& text) {
        const qsizetype colon = text.indexOf(u':');
        const QString label = text.left(std::max<qsizetype>(colon, 0)).trimmed().toLower();
        const QString value = text.mid(colon + 1).trimmed();
        if (label.startsWith(u"nazwa ") || label == u"odbiorca" || label == u"nadawca") {
            (*this)[CsvColumnRole::CounterpartyName] += value;
        } else if (label.startsWith(u"rachunek ") || label == u"numer rachunku") {
            (*this)[CsvColumnRole::CounterpartyAccount] += value;
        } else if (label == u"tytuł") {
            (*this)[CsvColumnRole::Title] += value;
        } else {
            detailOther += text;
        }
    }
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
        const CsvColumnRole role = m_profile.roleOf(int(c));
        if (role == CsvColumnRole::Details) {
            v.addDetail(text);
        } else {
            v[role] += text;
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

void CsvRowReader::readDates(const CsvRecord& record, const Values& v,
                             StatementOperation& op) const {
    const QString operation = v.one(CsvColumnRole::OperationDate);
    const QString posting = v.one(CsvColumnRole::PostingDate);
    if (operation.isEmpty() && posting.isEmpty()) {
        m_fail(record.line, QStringLiteral("brak daty operacji."));
    }
    const int64_t operationDate =
        operation.isEmpty() ? 0 : dateOf(record, operation, CsvColumnRole::OperationDate);
    const int64_t postingDate =
        posting.isEmpty() ? 0 : dateOf(record, posting, CsvColumnRole::PostingDate);
    op.operationDate = operationDate ? operationDate : postingDate;
    op.bookingDate = postingDate ? postingDate : operationDate;
}

QString CsvRowReader::readAmount(const CsvRecord& record, const Values& v,
                                 StatementOperation& op) const {
    QString currency;
    auto parsed = [&](CsvColumnRole role) {
        return amountOf(record, v.one(role), role, &currency);
    };
    const auto amount = parsed(CsvColumnRole::Amount);
    const auto debit = parsed(CsvColumnRole::Debit);
    const auto credit = parsed(CsvColumnRole::Credit);
    const auto hold = parsed(CsvColumnRole::HoldAmount);
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
    // A hold is pending while the row has no booked amount of its own.
    const bool held = !amount && !debit && !credit && hold;
    const QString status = v.one(CsvColumnRole::Status);
    op.booked = !held && !(!status.isEmpty() &&
                           m_profile.pendingValues.contains(status, Qt::CaseInsensitive));
    return currency;
}

CsvRow CsvRowReader::read(const CsvRecord& record) const {
    if (record.fields.size() < m_fieldsNeeded) {
        m_fail(record.line, QStringLiteral("%1 pól, a profil „%2” potrzebuje co najmniej %3 "
                                           "(czy separator pól jest właściwy?).")
                                .arg(record.fields.size())
                                .arg(m_profile.name)
                                .arg(m_fieldsNeeded));
    }
    Values v = collect(record);
    CsvRow row;
    row.line = record.line;
    StatementOperation& op = row.operation;
    readDates(record, v, op);
    const QString amountCurrency = readAmount(record, v, op);
    const bool in = op.direction == 1;
    using R = CsvColumnRole;
    const QString account =
        firstPresent(v[R::CounterpartyAccount] + v[in ? R::SenderAccount : R::RecipientAccount]);
    op.counterpartyAccount =
        (account.isEmpty() ? QString() : CleanAccount(account)).toStdU16String();
    v[R::CounterpartyName] += v.all(in ? R::SenderName : R::RecipientName);
    op.counterpartyName = v.all(R::CounterpartyName).toStdU16String();
    const QString kind = v.all(R::KindText);
    const QString title = joined(v[R::Title] + v.detailOther);
    op.title = (title.isEmpty() ? kind : title).toStdU16String();
    op.kind = KindCodes::FromBankText(kind, op.direction);
    op.fileId = v.one(R::Identifier).toStdU16String();

    const QString own = v.one(R::OwnAccount);
    row.ownAccount = own.isEmpty() ? QString() : CleanAccount(own);
    const QString ownSide = v.one(in ? R::RecipientAccount : R::SenderAccount);
    row.ownSideAccount = ownSide.isEmpty() ? QString() : CleanAccount(ownSide);
    const QString currency = v.one(R::Currency);
    row.currency = currency.isEmpty() ? amountCurrency : currencyCode(currency);
    return row;
}
