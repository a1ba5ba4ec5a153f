// SPDX-License-Identifier: GPL-3.0-or-later
// Bank CSV files in each shipped layout, made here with invented data, read with their profiles;
// the profile store on a real file; malformed rows named by line; one import into SQLite.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CsvProfiles.h"
#include "CsvReader.h"
#include "CsvRecords.h"
#include "CsvValues.h"
#include "ImportError.h"
#include "OwnExportReader.h"
#include "Schema.h"
#include "ShippedCsvProfiles.h"
#include "StatementChecks.h"
#include "StatementImport.h"
#include "StatementReader.h"
#include "StatementSamples.h"
#include "StatementValues.h"
#include "TempDir.h"
#include "sqlite3x.h"

#include <QJsonArray>
#include <QString>

#include <functional>

using namespace StatementSamples;
using ::testing::HasSubstr;

namespace {

const std::string kOwn = Nrb("114020040000350212345678");
const std::string kOwn2 = Nrb("114020040000350287654321");
const std::string kOther = Nrb("102010260000123456789012");

std::string utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

int64_t day(int d) {
    return *StatementValues::Noon(2024, 3, d);
}

// {O}, {P} and {N}: the own accounts and the counterparty's; {S}: the counterparty's, spaced.
std::string filled(std::string text) {
    const std::string spaced = kOther.substr(0, 2) + " " + kOther.substr(2, 4) + " " +
                               kOther.substr(6, 4) + " " + kOther.substr(10);
    for (const auto& [mark, value] : {std::pair<std::string, std::string>{"{O}", kOwn},
                                      {"{P}", kOwn2},
                                      {"{N}", kOther},
                                      {"{S}", spaced}}) {
        for (size_t at; (at = text.find(mark)) != std::string::npos;) {
            text.replace(at, mark.size(), value);
        }
    }
    return text;
}

const CsvProfile& shipped(const char* name) {
    static const CsvProfiles profiles("/nonexistent/CsvProfiles.json");
    const CsvProfile* profile = profiles.find(QString::fromUtf8(name));
    EXPECT_NE(profile, nullptr) << name;
    return *profile;
}

// Every sample holds a card payment of 1 234,56 zł on 4 March (booked the 5th where the layout
// has a posting date) and a transfer of 2 500,00 zł in from Jan Wiśniewski on the 6th.
struct Layout {
    const char* profile;
    const char* codePage;  // nullptr: UTF-8
    const char* text;
    std::string account;  // of the first statement
    bool postingDate, counterparty, matched, currency;
    size_t statements, pending;
    const char* cardId;
};

const Layout kLayouts[] = {
    {"mBank – historia operacji", "WINDOWS-1250",
     "#Klient;\nJAN TESTOWY;\n#Numer rachunku;\n'{O}';\n#Waluta;#Saldo początkowe;\n"
     "PLN;10 000,00;\n\n"
     "#Data operacji;#Data księgowania;#Opis operacji;#Tytuł;#Nadawca/Odbiorca;#Numer konta;"
     "#Kwota;#Saldo po operacji;\n"
     "2024-03-06;2024-03-06;PRZELEW PRZYCHODZĄCY;\"Zwrot pożyczki\";\"Jan Wiśniewski\";'{N}';"
     "2 500,00;11 265,44;\n2024-03-04;2024-03-05;ZAKUP PRZY UŻYCIU KARTY;\"Zakupy Żółty Kot\";"
     "\"Sklep Łąka\";'';-1 234,56;8 765,44;\n\n;;;;;;#Saldo końcowe;11 265,44;\n",
     kOwn, true, true, true, false, 1, 0, ""},
    {"mBank – lista operacji", nullptr,
     "#Data operacji;#Opis operacji;#Rachunek;#Kategoria;#Kwota;\r\n"
     "2024-03-04;Zakupy Żółty Kot;eKonto 1234 ... 5678;Jedzenie;-1 234,56 PLN;\r\n"
     "2024-03-06;\"Zwrot pożyczki; \"\"raty\"\"\";eKonto 1234 ... 5678;Wpływy;2 500,00 PLN;\r\n",
     "eKonto 1234 ... 5678", false, false, true, true, 1, 0, ""},
    {"ING Bank Śląski", "WINDOWS-1250",
     "\"Lista transakcji\";;\n\"Numer rachunku:\";\"{O}\";\n\"Wygenerowano:\";\"2024-03-08\";\n\n"
     "\"Data transakcji\";\"Data księgowania\";\"Dane kontrahenta\";\"Tytuł\";\"Nr rachunku\";"
     "\"Nazwa banku\";\"Szczegóły\";\"Nr transakcji\";\"Kwota transakcji (waluta rachunku)\";"
     "\"Waluta\";\"Kwota blokady/zwolnienie blokady\";\"Waluta\";\"Kwota płatności w walucie\";"
     "\"Waluta\";\"Konto\";\"Saldo po transakcji\";\"Waluta\";;;;\n"
     "\"2024-03-04\";\"2024-03-05\";\"Sklep Łąka\";\"Zakupy Żółty Kot\";\"\";\"\";\"TR.KART\";"
     "\"TX0001\";\"-1234,56\";\"PLN\";\"\";\"\";\"\";\"\";\"Konto\";\"8765,44\";\"PLN\";;;;\n"
     "\"2024-03-06\";\"2024-03-06\";\"Jan Wiśniewski\";\"Zwrot pożyczki\";\"'{N}'\";\"Bank\";"
     "\"PRZELEW\";\"TX0002\";\"2500,00\";\"PLN\";\"\";\"\";\"\";\"\";\"Konto\";\"11265,44\";"
     "\"PLN\";;;;\n\"2024-03-07\";\"\";\"Kawiarnia Dąb\";\"Kawa\";\"\";\"\";\"TR.KART\";\"\";\"\";"
     "\"\";\"-12,50\";\"PLN\";\"\";\"\";\"Konto\";\"\";\"\";;;;\n",
     kOwn, true, true, true, true, 1, 1, "TX0001"},
    {"PKO BP", "ISO-8859-2",
     "\"Data operacji\",\"Data waluty\",\"Typ transakcji\",\"Kwota\",\"Waluta\",\"Opis "
     "transakcji\",\"\",\"\",\"\",\"\"\n\"2024-03-04\",\"2024-03-05\",\"Płatność kartą\","
     "\"-1234.56\",\"PLN\",\"Tytuł: Zakupy Żółty Kot\",\"Lokalizacja: Adres: Sklep Łąka\",\"\","
     "\"\",\"\"\n\"2024-03-06\",\"2024-03-06\",\"Przelew na konto\",\"+2500.00\",\"PLN\","
     "\"Rachunek nadawcy: {S}\",\"Nazwa nadawcy: Jan Wiśniewski\",\"Adres nadawcy: ul. Polna 1\","
     "\"Tytuł: Zwrot pożyczki\",\"\",\"\"\n",
     "", true, true, true, true, 1, 0, ""},
    {"PKO BP (z saldem)", nullptr,
     "\"Data operacji\",\"Data waluty\",\"Typ transakcji\",\"Kwota\",\"Waluta\",\"Saldo po "
     "transakcji\",\"Opis transakcji\",\"\",\"\",\"\",\"\"\n\"2024-03-04\",\"2024-03-05\","
     "\"Płatność kartą\",\"-1234,56\",\"PLN\",\"+8765,44\",\"Tytuł: Zakupy Żółty Kot\",\"\",\"\","
     "\"\",\"\"\n\"2024-03-06\",\"2024-03-06\",\"Przelew na konto\",\"2500,00\",\"PLN\","
     "\"+11265,44\",\"Rachunek nadawcy: {S}\",\"Nazwa nadawcy: Jan Wiśniewski\","
     "\"Tytuł: Zwrot pożyczki\",\"\",\"\"\n",
     "", true, true, true, true, 1, 0, ""},
    {"Pekao", "WINDOWS-1250",
     "Data księgowania;Data waluty;Nadawca / Odbiorca;Rachunek źródłowy;Rachunek docelowy;"
     "Tytułem;Kwota operacji;Waluta;Numer referencyjny;Typ operacji\n"
     "05.03.2024;04.03.2024;Sklep Łąka;{O};;Zakupy Żółty Kot;-1 234,56;PLN;REF001;"
     "TRANSAKCJA KARTĄ\n06.03.2024;06.03.2024;Jan Wiśniewski;{N};{O};Zwrot pożyczki;2 500,00;"
     "PLN;REF002;PRZELEW PRZYCHODZĄCY\n",
     kOwn, true, true, true, true, 1, 0, "REF001"},
    {"Pekao (starszy eksport, tabulatory)", "WINDOWS-1250",
     "Data księgowania\tData waluty\tNadawca / Odbiorca\tRachunek źródłowy\tRachunek docelowy\t"
     "Tytułem\tKwota operacji\tWaluta\tNumer referencyjny\tTyp operacji\n05.03.2024\t04.03.2024\t"
     "Sklep Łąka\t{O}\t\tZakupy Żółty Kot\t-1234,56\tPLN\tREF001\tKARTA\n06.03.2024\t06.03.2024\t"
     "Jan Wiśniewski\t{N}\t{O}\tZwrot pożyczki\t2500,00\tPLN\tREF002\tPRZELEW\n",
     kOwn, true, true, true, true, 1, 0, "REF001"},
    {"Alior Bank", "WINDOWS-1250",
     "Historia operacji;;;\nData transakcji;Data księgowania;Nazwa nadawcy;Nazwa odbiorcy;"
     "Szczegóły transakcji;Kwota operacji;Waluta operacji;Kwota w walucie rachunku;"
     "Waluta rachunku;Numer rachunku nadawcy;Numer rachunku odbiorcy\n"
     "04-03-2024;05-03-2024;JAN TESTOWY;Sklep Łąka;Zakupy Żółty Kot;-1234,56;PLN;-1234,56;PLN;"
     "{O};\n06-03-2024;06-03-2024;Jan Wiśniewski;JAN TESTOWY;Zwrot pożyczki;2500,00;PLN;"
     "2500,00;PLN;{N};{O}\n",
     kOwn, true, true, true, true, 1, 0, ""},
    {"Obciążenia i uznania w osobnych kolumnach", nullptr,
     "\xEF\xBB\xBFNumer rachunku/karty,Data transakcji,Data rozliczenia,Rodzaj transakcji,"
     "Na konto/Z konta,Odbiorca/Zleceniodawca,Opis,Obciążenia,Uznania,Saldo,Waluta\n"
     "{O},2024-03-04,2024-03-05,Płatność kartą,,Sklep Łąka,Zakupy Żółty Kot,1234.56,,8765.44,"
     "PLN\n{O},2024-03-06,2024-03-06,Przelew przychodzący,{N},Jan Wiśniewski,Zwrot pożyczki,,"
     "2500.00,11265.44,PLN\n{P},2024-03-07,2024-03-07,Przelew wychodzący,{N},Jan Wiśniewski,"
     "\"Czynsz, marzec\",300.00,,100.00,PLN\n",
     kOwn, true, true, true, true, 2, 0, ""},
    {"Santander", nullptr,
     "M,04-03-2024,Zakupy Żółty Kot,Sklep Łąka,,\"-1234,56\",\"8765,44\",1,\n"
     "M,06-03-2024,Zwrot pożyczki,Jan Wiśniewski,{N},\"2500,00\",\"11265,44\",2,\n",
     "", false, true, false, false, 1, 0, ""},
};

void PrintTo(const Layout& layout, std::ostream* out) {
    *out << layout.profile;
}

class ShippedLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(ShippedLayouts, ReadsSampleAndIsRecognised) {
    const Layout& c = GetParam();
    std::string bytes = filled(c.text);
    bytes = c.codePage ? Encoded(bytes, c.codePage) : bytes;
    const CsvProfile& profile = shipped(c.profile);
    EXPECT_TRUE(profile.fromPublicDescriptions);
    const CsvProfiles store("/nonexistent/CsvProfiles.json");
    const CsvProfile* matched = store.match(bytes);
    EXPECT_EQ(matched ? matched->name.toStdString() : "", c.matched ? c.profile : "");
    // The import window offers profiles only for what it takes to be a table.
    EXPECT_EQ(CsvReader::GuessSeparator(bytes), profile.separator);

    const StatementFile file = StatementReader::Read(bytes, std::nullopt, std::nullopt, &profile);
    EXPECT_EQ(file.format, StatementFormat::BankCsv);
    ASSERT_EQ(file.statements.size(), c.statements);
    const Statement& s = file.statements[0];
    EXPECT_EQ(utf8(s.account), c.account);
    ASSERT_EQ(s.operations.size(), 2 + c.pending);
    const StatementOperation& card = s.operations[0];
    EXPECT_EQ(card.amount, -123456);
    EXPECT_EQ(card.direction, 0);
    EXPECT_EQ(card.operationDate, day(4));
    EXPECT_EQ(card.bookingDate, day(c.postingDate ? 5 : 4));
    EXPECT_THAT(utf8(card.title), HasSubstr("Zakupy Żółty Kot"));
    EXPECT_EQ(utf8(card.fileId), c.cardId);
    const StatementOperation& transfer = s.operations[1];
    EXPECT_EQ(transfer.amount, 250000);
    EXPECT_EQ(transfer.direction, 1);
    EXPECT_THAT(utf8(transfer.title), HasSubstr("Zwrot pożyczki"));
    EXPECT_EQ(utf8(transfer.counterpartyName), c.counterparty ? "Jan Wiśniewski" : "");
    EXPECT_EQ(utf8(transfer.counterpartyAccount), c.counterparty ? kOther : "");
    EXPECT_EQ(s.currency, c.currency ? u"PLN" : u"");
    for (size_t i = 2; i < s.operations.size(); ++i) {
        EXPECT_FALSE(s.operations[i].booked);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, ShippedLayouts, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::to_string(info.index); });

TEST(CsvLayouts, ALetterOrABinaryFileIsNoTable) {
    EXPECT_EQ(CsvReader::GuessSeparator("Drogi Janie,\nprzesyłam wyciąg; pozdrawiam, Anna\n"),
              std::nullopt);
    EXPECT_EQ(CsvReader::GuessSeparator(std::string("a;b;c\0\na;b;c\n", 13)), std::nullopt);
    EXPECT_EQ(CsvReader::GuessSeparator("a|b|c\n1|2|3\n"), QChar(u'|'));
}

TEST(CsvLayouts, PreambleGivesAccountAndBalancesThatAreChecked) {
    const std::string bytes = Encoded(filled(kLayouts[0].text), "WINDOWS-1250");
    const StatementFile file = StatementReader::Read(bytes, {}, {}, &shipped(kLayouts[0].profile));
    EXPECT_EQ(file.statements[0].openingBalance, 1000000);
    EXPECT_EQ(file.statements[0].closingBalance, 1126544);
    EXPECT_EQ(file.statements[0].operations[1].kind, 1);
    std::string wrong = bytes;
    wrong.replace(wrong.rfind("11 265,44"), 9, "11 265,45");
    EXPECT_TRUE(
        StatementChecks::BalanceMismatch(
            StatementReader::Read(wrong, {}, {}, &shipped(kLayouts[0].profile)).statements[0])
            .has_value());
}

TEST(CsvLayouts, StatusColumnMarksPendingRowsInAnyLetterCase) {
    CsvProfile p;
    p.name = QStringLiteral("Mój bank");
    p.columns = {CsvColumnRole::OperationDate, CsvColumnRole::Amount, CsvColumnRole::Status,
                 CsvColumnRole::Title, CsvColumnRole::Title};
    p.pendingValues = {QStringLiteral("Oczekująca")};
    const auto ops = CsvReader::Read(
                         "2024-03-04;-5,00;zaksięgowana;Bilet;ZTM\n"
                         "2024-03-05;-7,00;OCZEKUJĄCA;Kawa\n",
                         p)
                         .statements.at(0)
                         .operations;
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_TRUE(ops[0].booked);
    EXPECT_EQ(utf8(ops[0].title), "Bilet ZTM");
    EXPECT_FALSE(ops[1].booked);
}

struct Malformed {
    const char* text;
    const char* message;
};

class MalformedRows : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedRows, AreNamedByLine) {
    const std::string header = "#Data operacji;#Opis operacji;#Rachunek;#Kategoria;#Kwota;\n";
    try {
        StatementReader::Read(header + GetParam().text, {}, {}, &shipped("mBank – lista operacji"));
        FAIL() << "read";
    } catch (const ImportError& e) {
        EXPECT_THAT(e.what(), HasSubstr(GetParam().message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MalformedRows,
    ::testing::Values(Malformed{"2024-03-04;a;b;c;1,00 PLN;\n2024-13-04;a;b;c;1,00;\n",
                                "wiersz 3: nieczytelna data"},
                      Malformed{"2024-03-04;a;b;c;1,2,3;\n", "wiersz 2: nieczytelna kwota „1,2,3”"},
                      Malformed{"2024-03-04;a;b;c;1.230;\n", "wiersz 2: nieczytelna kwota"},
                      Malformed{"2024-03-04;\"a;b;c;1,00;\n", "wiersz 2: pole w cudzysłowie"},
                      Malformed{"2024-03-04,a,b,c,1.00\n", "wiersz 2: 1 pól, a profil"},
                      Malformed{"2024-03-04;a;b;c;1,00 PLN;\n2024-03-05;a;b;c;1,00 EUR;\n",
                                "wiersz 3: operacja w walucie EUR"},
                      Malformed{"2024-03-04;a;b;c;;\n", "wiersz 2: brak kwoty"}));

TEST(CsvLayouts, FileWithoutTheHeaderIsRefused) {
    EXPECT_THROW(StatementReader::Read("Data;Kwota\n2024-01-01;5\n", {}, {}, &shipped("PKO BP")),
                 ImportError);
    EXPECT_THROW(StatementReader::Read("x;y\n", StatementFormat::BankCsv), ImportError);
}

struct AmountCase {
    const char* text;
    QChar decimal, thousands;
    std::optional<int64_t> grosze;
    const char* currency;
};

class Amounts : public ::testing::TestWithParam<AmountCase> {};

TEST_P(Amounts, ReadAsWritten) {
    const AmountCase& c = GetParam();
    const auto amount = CsvValues::ParseAmount(QString::fromUtf8(c.text), c.decimal, c.thousands);
    ASSERT_EQ(amount.has_value(), c.grosze.has_value()) << c.text;
    if (amount) {
        EXPECT_EQ(amount->grosze, *c.grosze);
        EXPECT_EQ(amount->currency.toStdString(), c.currency);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, Amounts,
                         ::testing::Values(AmountCase{"-2,72 PLN", u',', {}, -272, "PLN"},
                                           AmountCase{"1\u00a0234,56", u',', {}, 123456, ""},
                                           AmountCase{"1.234,56 zł", u',', u'.', 123456, "PLN"},
                                           AmountCase{"\u2212"
                                                      "12.5",
                                                      u',',
                                                      {},
                                                      -1250,
                                                      ""},
                                           AmountCase{"1,234.56", u'.', u',', 123456, ""},
                                           AmountCase{"12,34", u'.', {}, 1234, ""},
                                           AmountCase{"EUR 5", u',', {}, 500, "EUR"},
                                           AmountCase{"1.230", u',', {}, std::nullopt, ""},
                                           AmountCase{"--5", u',', {}, std::nullopt, ""},
                                           AmountCase{"5 złotych", u',', {}, std::nullopt, ""}));

TEST(CsvValues, DatesInProfileFormats) {
    EXPECT_EQ(CsvValues::Date("2024-03-04 12:30:00", "yyyy-MM-dd"), day(4));
    EXPECT_EQ(CsvValues::Date("4.3.2024", "d.M.yyyy"), day(4));
    EXPECT_EQ(CsvValues::Date("04/03/24", "dd/MM/yy"), day(4));
    EXPECT_EQ(CsvValues::Date("31.02.2024", "dd.MM.yyyy"), std::nullopt);
    EXPECT_EQ(CsvValues::Date("2024-03-04x", "yyyy-MM-dd"), std::nullopt);
    EXPECT_FALSE(CsvValues::IsDateFormat("dd.MM"));
    EXPECT_FALSE(CsvValues::IsDateFormat("yyyy-MMM-dd"));
}

TEST(CsvValues, RecordsKeepQuotedSeparatorsQuotesAndLineEnds) {
    const CsvRecords split =
        CsvRecords::Split(QStringLiteral("a;\"b;\"\"c\"\"\"\r\n\"x\ny\";z\rw;"), u';', u'"');
    ASSERT_EQ(split.records.size(), 3u);
    EXPECT_EQ(split.records[0].fields, (QStringList{"a", "b;\"c\""}));
    EXPECT_EQ(split.records[1].fields, (QStringList{"x\ny", "z"}));
    EXPECT_EQ(split.records[2].fields, (QStringList{"w", ""}));
    EXPECT_EQ(split.records[2].line, 4);
    EXPECT_EQ(CsvRecords::Split(QStringLiteral("a\n\"b"), u';', u'"').unclosedQuoteLine, 2);
}

TEST(CsvProfileJson, UnusableProfilesAreNamed) {
    const std::vector<std::pair<std::function<void(CsvProfile&)>, const char*>> faults = {
        {[](CsvProfile& p) { p.name.clear(); }, "nie ma nazwy"},
        {[](CsvProfile& p) { p.separator = u'"'; }, "Separator pól"},
        {[](CsvProfile& p) { p.dateFormat = QStringLiteral("MM/yyyy"); }, "Format daty"},
        {[](CsvProfile& p) { p.columns.push_back(CsvColumnRole::Amount); }, "więcej niż jednej"},
        {[](CsvProfile& p) { p.columns = {CsvColumnRole::Amount}; }, "datą operacji"},
        {[](CsvProfile& p) { p.encoding = QStringLiteral("KOI8-R"); }, "strona kodowa"},
    };
    for (const auto& [spoil, message] : faults) {
        CsvProfile profile = shipped("Alior Bank");
        spoil(profile);
        EXPECT_THAT(profile.problem().value_or("").toStdString(), HasSubstr(message));
    }
}

TEST(CsvProfileJson, EveryShippedProfileRoundTrips) {
    for (const CsvProfile& profile : ShippedCsvProfiles::All()) {
        EXPECT_EQ(CsvProfile::FromJson(profile.toJson()), profile) << profile.name.toStdString();
    }
    QJsonObject broken = ShippedCsvProfiles::All()[0].toJson();
    broken[QStringLiteral("columns")] =
        QJsonArray::fromStringList({QStringLiteral("amount"), QStringLiteral("x")});
    EXPECT_THROW(CsvProfile::FromJson(broken), ImportError);
}

TEST(CsvProfileStore, ChangesSurviveReloadAndNothingIsOverwrittenWhenDamaged) {
    TempDir dir;
    const auto file = dir.path() / "CsvProfiles.json";
    CsvProfile mine = shipped("mBank – lista operacji");
    mine.name = QStringLiteral("Mój bank");
    mine.fromPublicDescriptions = false;
    {
        CsvProfiles store(file);
        store.add(mine);
        EXPECT_THROW(store.add(mine), ImportError);
        mine.skipEnd = 2;
        store.edit(QStringLiteral("Mój bank"), mine);
        store.rename(QStringLiteral("Mój bank"), QStringLiteral("Konto firmowe"));
        CsvProfile fixed = shipped("PKO BP");
        fixed.dateFormat = QStringLiteral("dd.MM.yyyy");
        store.add(fixed);
        EXPECT_THROW(store.remove(QStringLiteral("Alior Bank")), ImportError);
    }
    CsvProfiles reloaded(file);
    ASSERT_FALSE(reloaded.loadError());
    ASSERT_EQ(reloaded.userProfiles().size(), 2u);
    EXPECT_EQ(reloaded.find(QStringLiteral("Konto firmowe"))->skipEnd, 2);
    EXPECT_EQ(reloaded.find(QStringLiteral("PKO BP"))->dateFormat, QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(reloaded.all().size(), ShippedCsvProfiles::All().size() + 1);
    // The user's copy of a shipped layout is found first.
    const std::string pko = filled(kLayouts[3].text);
    EXPECT_EQ(reloaded.match(pko), reloaded.find(QStringLiteral("PKO BP")));
    reloaded.remove(QStringLiteral("PKO BP"));
    EXPECT_EQ(CsvProfiles(file).userProfiles().size(), 1u);

    std::filesystem::resize_file(file, 40);
    CsvProfiles damaged(file);
    EXPECT_TRUE(damaged.loadError());
    EXPECT_THROW(damaged.add(shipped("Pekao")), ImportError);
    EXPECT_EQ(std::filesystem::file_size(file), 40u);
}

TEST(CsvProfileStore, OwnExportIsNeverABankProfile) {
    const std::string own = std::string("\xEF\xBB\xBF") + OwnExportReader::kCsvHeader + "\r\n";
    EXPECT_EQ(StatementReader::DetectFormat(own), StatementFormat::OwnCsv);
    EXPECT_EQ(CsvProfiles("/nonexistent/CsvProfiles.json").match(own), nullptr);
}

TEST(CsvImport, IdentifiersKeyTheOperationsAndReimportStoresNothing) {
    TempDir dir;
    sqlite3x::connection db;
    Schema::OpenDatabase(db, (dir.path() / "masterDatabase.sq3").u16string(),
                         [](const std::u16string&) {});
    const std::string bytes = Encoded(filled(kLayouts[2].text), "WINDOWS-1250");
    ImportRequest request;
    request.fileName = u"ing.csv";
    request.sha256 = StatementImport::Sha256Hex(bytes);
    auto run = [&] {
        return StatementImport(db)
            .run(StatementReader::Read(bytes, {}, {}, &shipped("ING Bank Śląski")), request)
            .accounts.at(0);
    };
    const AccountCounts first = run();
    EXPECT_EQ(utf8(first.account), kOwn);
    EXPECT_EQ(first.stored, 2);
    EXPECT_EQ(first.skipped, 1);
    {
        sqlite3x::command keys(db,
                               "SELECT group_concat(k_key, ' ') FROM (SELECT k_key FROM "
                               "import_keys ORDER BY k_key)");
        sqlite3x::reader r = keys.execute_reader();
        ASSERT_TRUE(r.read());
        EXPECT_EQ(utf8(r.get_string(0)), "id:TX0001#1 id:TX0002#1");
    }
    const AccountCounts again = run();
    EXPECT_EQ(again.stored, 0);
    EXPECT_EQ(again.known, 2);
}

}  // namespace
