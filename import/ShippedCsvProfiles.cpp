// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShippedCsvProfiles.h"

namespace {

using R = CsvColumnRole;

CsvProfile layout(const char16_t* name, QChar separator, const char* encoding,
                  const char16_t* header, const char* dateFormat, QChar decimalSign,
                  std::vector<CsvColumnRole> columns) {
    CsvProfile p;
    p.name = QString::fromUtf16(name);
    p.separator = separator;
    p.encoding = QString::fromLatin1(encoding);
    p.header = QString::fromUtf16(header);
    p.dateFormat = QString::fromLatin1(dateFormat);
    p.decimalSign = decimalSign;
    p.columns = std::move(columns);
    p.fromPublicDescriptions = true;
    return p;
}

CsvProfile mbankClassic() {
    CsvProfile p = layout(u"mBank – historia operacji", u';', "windows-1250",
                          u"#Data operacji;#Data księgowania;#Opis operacji;#Tytuł;"
                          u"#Nadawca/Odbiorca;#Numer konta;#Kwota;#Saldo po operacji;",
                          "yyyy-MM-dd", u',',
                          {R::OperationDate, R::PostingDate, R::KindText, R::Title,
                           R::CounterpartyName, R::CounterpartyAccount, R::Amount, R::None});
    p.commentPrefix = QStringLiteral("#");
    p.ownAccountLabel = QStringLiteral("Numer rachunku");
    p.openingBalanceLabel = QStringLiteral("Saldo początkowe");
    p.closingBalanceLabel = QStringLiteral("Saldo końcowe");
    return p;
}

CsvProfile mbankList() {
    CsvProfile p =
        layout(u"mBank – lista operacji", u';', "windows-1250",
               u"#Data operacji;#Opis operacji;#Rachunek;#Kategoria;#Kwota;", "yyyy-MM-dd", u',',
               {R::OperationDate, R::Title, R::OwnAccount, R::None, R::Amount});
    p.commentPrefix = QStringLiteral("#");
    return p;
}

CsvProfile ing() {
    CsvProfile p = layout(
        u"ING Bank Śląski", u';', "windows-1250",
        u"\"Data transakcji\";\"Data księgowania\";\"Dane kontrahenta\";\"Tytuł\";"
        u"\"Nr rachunku\";\"Nazwa banku\";\"Szczegóły\";\"Nr transakcji\";"
        u"\"Kwota transakcji (waluta rachunku)\";\"Waluta\";\"Kwota blokady/zwolnienie "
        u"blokady\";\"Waluta\";\"Kwota płatności w walucie\";\"Waluta\";\"Konto\";\"Saldo po "
        u"transakcji\";\"Waluta\";;;;",
        "yyyy-MM-dd", u',',
        {R::OperationDate, R::PostingDate, R::CounterpartyName, R::Title, R::CounterpartyAccount,
         R::None, R::KindText, R::Identifier, R::Amount, R::Currency, R::HoldAmount});
    p.ownAccountLabel = QStringLiteral("Numer rachunku");
    return p;
}

CsvProfile pko(bool balanceColumn) {
    std::vector<CsvColumnRole> columns = {R::OperationDate, R::PostingDate, R::KindText, R::Amount,
                                          R::Currency};
    if (balanceColumn) {
        columns.push_back(R::None);
    }
    columns.push_back(R::Details);
    CsvProfile p = layout(balanceColumn ? u"PKO BP (z saldem)" : u"PKO BP", u',', "",
                          balanceColumn ? u"\"Data operacji\",\"Data waluty\",\"Typ transakcji\","
                                          u"\"Kwota\",\"Waluta\",\"Saldo po transakcji\","
                                          u"\"Opis transakcji\",\"\",\"\",\"\",\"\""
                                        : u"\"Data operacji\",\"Data waluty\",\"Typ transakcji\","
                                          u"\"Kwota\",\"Waluta\",\"Opis transakcji\",\"\",\"\","
                                          u"\"\",\"\"",
                          "yyyy-MM-dd", u'.', std::move(columns));
    // The description goes on into the unnamed columns and past them.
    p.extraColumns = R::Details;
    return p;
}

CsvProfile pekao(bool tabs) {
    const QChar separator = tabs ? u'\t' : u';';
    const QString header = QStringLiteral(
                               "Data księgowania;Data waluty;Nadawca / Odbiorca;Rachunek "
                               "źródłowy;Rachunek docelowy;Tytułem;Kwota operacji;Waluta;Numer "
                               "referencyjny;Typ operacji")
                               .replace(u';', separator);
    CsvProfile p =
        layout(tabs ? u"Pekao (starszy eksport, tabulatory)" : u"Pekao", separator, "windows-1250",
               u"", "dd.MM.yyyy", u',',
               {R::PostingDate, R::OperationDate, R::CounterpartyName, R::SenderAccount,
                R::RecipientAccount, R::Title, R::Amount, R::Currency, R::Identifier, R::KindText});
    p.header = header;
    return p;
}

CsvProfile alior() {
    CsvProfile p =
        layout(u"Alior Bank", u';', "windows-1250",
               u"Data transakcji;Data księgowania;Nazwa nadawcy;Nazwa odbiorcy;"
               u"Szczegóły transakcji;Kwota operacji;Waluta operacji;Kwota w walucie "
               u"rachunku;Waluta rachunku;Numer rachunku nadawcy;Numer rachunku "
               u"odbiorcy",
               "dd-MM-yyyy", u',',
               {R::OperationDate, R::PostingDate, R::SenderName, R::RecipientName, R::Title,
                R::None, R::None, R::Amount, R::Currency, R::SenderAccount, R::RecipientAccount});
    p.skipStart = 1;
    return p;
}

CsvProfile debitCredit() {
    return layout(
        u"Obciążenia i uznania w osobnych kolumnach", u',', "UTF-8",
        u"Numer rachunku/karty,Data transakcji,Data rozliczenia,Rodzaj transakcji,"
        u"Na konto/Z konta,Odbiorca/Zleceniodawca,Opis,Obciążenia,Uznania,Saldo,Waluta",
        "yyyy-MM-dd", u'.',
        {R::OwnAccount, R::OperationDate, R::PostingDate, R::KindText, R::CounterpartyAccount,
         R::CounterpartyName, R::Title, R::Debit, R::Credit, R::None, R::Currency});
}

CsvProfile santander() {
    // No header line is known: chosen by hand, never recognised.
    return layout(u"Santander", u',', "", u"", "dd-MM-yyyy", u',',
                  {R::None, R::OperationDate, R::Title, R::CounterpartyName, R::CounterpartyAccount,
                   R::Amount, R::None, R::None, R::None});
}

}  // namespace

namespace ShippedCsvProfiles {

const std::vector<CsvProfile>& All() {
    static const std::vector<CsvProfile> profiles = {
        mbankClassic(), mbankList(), ing(),   pko(false),    pko(true),
        pekao(false),   pekao(true), alior(), debitCredit(), santander()};
    return profiles;
}

}  // namespace ShippedCsvProfiles
