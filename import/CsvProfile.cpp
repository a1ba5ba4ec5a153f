// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvProfile.h"

#include "CsvValues.h"
#include "ImportError.h"
#include "TextDecoding.h"

#include <QJsonArray>

#include <algorithm>

namespace {

struct RoleText {
    CsvColumnRole role;
    const char16_t* json;
    const char16_t* label;
};

const RoleText kRoles[] = {
    {CsvColumnRole::None, u"none", u"(pomiń)"},
    {CsvColumnRole::OperationDate, u"operationDate", u"Data operacji"},
    {CsvColumnRole::PostingDate, u"postingDate", u"Data księgowania"},
    {CsvColumnRole::Amount, u"amount", u"Kwota"},
    {CsvColumnRole::Debit, u"debit", u"Obciążenie"},
    {CsvColumnRole::Credit, u"credit", u"Uznanie"},
    {CsvColumnRole::CounterpartyName, u"counterpartyName", u"Kontrahent"},
    {CsvColumnRole::CounterpartyAccount, u"counterpartyAccount", u"Rachunek kontrahenta"},
    {CsvColumnRole::SenderName, u"senderName", u"Nadawca"},
    {CsvColumnRole::RecipientName, u"recipientName", u"Odbiorca"},
    {CsvColumnRole::SenderAccount, u"senderAccount", u"Rachunek nadawcy"},
    {CsvColumnRole::RecipientAccount, u"recipientAccount", u"Rachunek odbiorcy"},
    {CsvColumnRole::Title, u"title", u"Tytuł"},
    {CsvColumnRole::Details, u"details", u"Opis z etykietami (Tytuł:, Nazwa odbiorcy:, …)"},
    {CsvColumnRole::KindText, u"kind", u"Rodzaj operacji"},
    {CsvColumnRole::OwnAccount, u"ownAccount", u"Własny rachunek"},
    {CsvColumnRole::Identifier, u"identifier", u"Identyfikator operacji"},
    {CsvColumnRole::Currency, u"currency", u"Waluta"},
    {CsvColumnRole::Status, u"status", u"Stan (oczekująca)"},
    {CsvColumnRole::HoldAmount, u"hold", u"Kwota blokady"},
};

const RoleText& textOf(CsvColumnRole role) {
    for (const RoleText& text : kRoles) {
        if (text.role == role) {
            return text;
        }
    }
    return kRoles[0];
}

// Roles that may be given to several columns; every other one names one column at most.
bool repeatable(CsvColumnRole role) {
    return role == CsvColumnRole::None || role == CsvColumnRole::Title ||
           role == CsvColumnRole::Details || role == CsvColumnRole::CounterpartyName ||
           role == CsvColumnRole::KindText;
}

QString charText(QChar c) {
    return c.isNull() ? QString() : QString(c);
}

[[noreturn]] void badField(const QString& profile, const QString& field) {
    throw ImportError(QStringLiteral("Profil CSV „%1”: nieprawidłowe pole „%2”.")
                          .arg(profile, field)
                          .toStdString());
}

// One character, or null for an empty text; anything longer is an error.
QChar charOf(const QJsonObject& json, const char* key, const QString& profile) {
    const QString text = json.value(QLatin1String(key)).toString();
    if (text.size() > 1) {
        badField(profile, QLatin1String(key));
    }
    return text.isEmpty() ? QChar() : text[0];
}

}  // namespace

QString CsvProfile::UncheckedNote() {
    return QStringLiteral("sprawdź z plikiem z banku");
}

CsvColumnRole CsvProfile::roleOf(int column) const {
    return column >= 0 && size_t(column) < columns.size() ? columns[size_t(column)] : extraColumns;
}

bool CsvProfile::has(CsvColumnRole role) const {
    return std::find(columns.begin(), columns.end(), role) != columns.end() || extraColumns == role;
}

std::optional<QString> CsvProfile::problem() const {
    if (name.trimmed().isEmpty()) {
        return QStringLiteral("Profil nie ma nazwy.");
    }
    if (separator.isNull() || separator == quote || separator == u'\n' || separator == u'\r') {
        return QStringLiteral("Separator pól musi być jednym znakiem, innym niż cudzysłów.");
    }
    if (decimalSign != u',' && decimalSign != u'.') {
        return QStringLiteral("Znak dziesiętny musi być przecinkiem albo kropką.");
    }
    if (thousandsSeparator == decimalSign) {
        return QStringLiteral("Separator tysięcy nie może być znakiem dziesiętnym.");
    }
    if (!encoding.isEmpty() && !TextDecoding::FromName(encoding)) {
        return QStringLiteral("Nieznana strona kodowa „%1”.").arg(encoding);
    }
    if (skipStart < 0 || skipEnd < 0 || skipStart > 1000 || skipEnd > 1000) {
        return QStringLiteral("Liczba wierszy do pominięcia musi być od 0 do 1000.");
    }
    if (!CsvValues::IsDateFormat(dateFormat)) {
        return QStringLiteral(
                   "Format daty „%1” musi zawierać rok (yyyy), miesiąc (MM) i dzień "
                   "(dd).")
            .arg(dateFormat);
    }
    if (!has(CsvColumnRole::OperationDate) && !has(CsvColumnRole::PostingDate)) {
        return QStringLiteral("Żadna kolumna nie jest datą operacji ani datą księgowania.");
    }
    if (!has(CsvColumnRole::Amount) && !has(CsvColumnRole::Debit) && !has(CsvColumnRole::Credit)) {
        return QStringLiteral("Żadna kolumna nie jest kwotą, obciążeniem ani uznaniem.");
    }
    if (has(CsvColumnRole::Status) && pendingValues.isEmpty()) {
        return QStringLiteral(
            "Kolumna stanu wymaga wartości, które oznaczają operację "
            "oczekującą.");
    }
    if (!repeatable(extraColumns)) {
        return QStringLiteral("Dalsze kolumny mogą być tylko tytułem, opisem albo kontrahentem.");
    }
    for (const RoleText& role : kRoles) {
        if (!repeatable(role.role) && std::count(columns.begin(), columns.end(), role.role) > 1) {
            return QStringLiteral("Rola „%1” jest przypisana więcej niż jednej kolumnie.")
                .arg(QString::fromUtf16(role.label));
        }
    }
    return std::nullopt;
}

QJsonObject CsvProfile::toJson() const {
    QJsonArray roles;
    for (const CsvColumnRole role : columns) {
        roles.append(RoleName(role));
    }
    return QJsonObject{
        {QStringLiteral("name"), name},
        {QStringLiteral("separator"), charText(separator)},
        {QStringLiteral("quote"), charText(quote)},
        {QStringLiteral("encoding"), encoding},
        {QStringLiteral("skipStart"), skipStart},
        {QStringLiteral("skipEnd"), skipEnd},
        {QStringLiteral("header"), header},
        {QStringLiteral("commentPrefix"), commentPrefix},
        {QStringLiteral("dateFormat"), dateFormat},
        {QStringLiteral("decimalSign"), charText(decimalSign)},
        {QStringLiteral("thousandsSeparator"), charText(thousandsSeparator)},
        {QStringLiteral("columns"), roles},
        {QStringLiteral("extraColumns"), RoleName(extraColumns)},
        {QStringLiteral("pendingValues"), QJsonArray::fromStringList(pendingValues)},
        {QStringLiteral("ownAccountLabel"), ownAccountLabel},
        {QStringLiteral("openingBalanceLabel"), openingBalanceLabel},
        {QStringLiteral("closingBalanceLabel"), closingBalanceLabel},
        {QStringLiteral("fromPublicDescriptions"), fromPublicDescriptions},
    };
}

CsvProfile CsvProfile::FromJson(const QJsonObject& json) {
    CsvProfile p;
    p.name = json.value(QLatin1String("name")).toString();
    p.separator = charOf(json, "separator", p.name);
    p.quote = charOf(json, "quote", p.name);
    p.encoding = json.value(QLatin1String("encoding")).toString();
    p.skipStart = json.value(QLatin1String("skipStart")).toInt(0);
    p.skipEnd = json.value(QLatin1String("skipEnd")).toInt(0);
    p.header = json.value(QLatin1String("header")).toString();
    p.commentPrefix = json.value(QLatin1String("commentPrefix")).toString();
    p.dateFormat = json.value(QLatin1String("dateFormat")).toString();
    p.decimalSign = charOf(json, "decimalSign", p.name);
    p.thousandsSeparator = charOf(json, "thousandsSeparator", p.name);
    for (const QJsonValue role : json.value(QLatin1String("columns")).toArray()) {
        const auto known = RoleFromName(role.toString());
        if (!known) {
            badField(p.name, QStringLiteral("columns: ") + role.toString());
        }
        p.columns.push_back(*known);
    }
    const auto extra = RoleFromName(json.value(QLatin1String("extraColumns")).toString());
    p.extraColumns = extra.value_or(CsvColumnRole::None);
    for (const QJsonValue value : json.value(QLatin1String("pendingValues")).toArray()) {
        p.pendingValues += value.toString();
    }
    p.ownAccountLabel = json.value(QLatin1String("ownAccountLabel")).toString();
    p.openingBalanceLabel = json.value(QLatin1String("openingBalanceLabel")).toString();
    p.closingBalanceLabel = json.value(QLatin1String("closingBalanceLabel")).toString();
    p.fromPublicDescriptions = json.value(QLatin1String("fromPublicDescriptions")).toBool();
    if (const auto why = p.problem()) {
        throw ImportError(QStringLiteral("Profil CSV „%1”: %2").arg(p.name, *why).toStdString());
    }
    return p;
}

QString CsvProfile::RoleName(CsvColumnRole role) {
    return QString::fromUtf16(textOf(role).json);
}

std::optional<CsvColumnRole> CsvProfile::RoleFromName(const QString& name) {
    if (name.isEmpty()) {
        return CsvColumnRole::None;
    }
    for (const RoleText& text : kRoles) {
        if (name == QStringView(text.json)) {
            return text.role;
        }
    }
    return std::nullopt;
}

QString CsvProfile::RoleLabel(CsvColumnRole role) {
    return QString::fromUtf16(textOf(role).label);
}

const std::vector<CsvColumnRole>& CsvProfile::AllRoles() {
    static const std::vector<CsvColumnRole> roles = [] {
        std::vector<CsvColumnRole> all;
        for (const RoleText& text : kRoles) {
            all.push_back(text.role);
        }
        return all;
    }();
    return roles;
}
