// SPDX-License-Identifier: GPL-3.0-or-later
// Each reader on files made here: every separator and code page, wrapped lines, year wrap,
// batches, pending entries, and the errors of truncated or malformed files.
#include <gtest/gtest.h>

#include "ImportError.h"
#include "StatementReader.h"
#include "StatementSamples.h"
#include "StatementValues.h"

#include <QString>

using namespace Qt::StringLiterals;

using namespace StatementSamples;

namespace {

const std::string kAccount = Nrb("249000050000400030020010");

std::string utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

int64_t day(int y, int m, int d) {
    return *StatementValues::Noon(y, m, d);
}

struct Mt940Case {
    char separator;
    const char* codePage;  // nullptr: UTF-8
    const char* lineEnd;
    bool soh;
    const char* name;
};

class Mt940Formats : public ::testing::TestWithParam<Mt940Case> {};

TEST(StatementValues, AmountsAreReadToTheGroszOrRefused) {
    using StatementValues::Grosze;
    EXPECT_EQ(Grosze(u" 1234,5 "_s), 123450);
    EXPECT_EQ(Grosze(u"-0.07"_s), -7);
    EXPECT_EQ(Grosze(u"+12"_s), 1200);
    EXPECT_EQ(Grosze(u"3,1000"_s), 310);
    EXPECT_EQ(Grosze(u"999999999999999,99"_s), 99999999999999999);
    for (const QString& bad : {u""_s, u",5"_s, u"1,234"_s, u"1 000,00"_s, u"1,2.3"_s, u"--1"_s,
                               u"1234567890123456"_s, u"１２"_s}) {
        EXPECT_FALSE(Grosze(bad)) << bad.toStdString();
    }
}

TEST_P(Mt940Formats, ReadsSubfieldsLettersAndBalances) {
    const Mt940Case& c = GetParam();
    std::string text = Mt940(kAccount, {c.separator, c.lineEnd, c.soh});
    if (c.codePage) {
        text = Encoded(text, c.codePage);
    }
    const StatementFile file = StatementReader::Read(text);
    ASSERT_EQ(file.format, StatementFormat::Mt940);
    ASSERT_EQ(file.statements.size(), 1u);
    const Statement& s = file.statements[0];
    EXPECT_EQ(utf8(s.account), "/PL" + kAccount);
    EXPECT_EQ(s.openingBalance, 100000);
    EXPECT_EQ(s.closingBalance, 123766);
    ASSERT_EQ(s.operations.size(), 2u);
    const StatementOperation& card = s.operations[0];
    EXPECT_EQ(utf8(card.title), "Zakupy w sklepie Żabka ul. Łąkowa 5, Gdańsk");
    EXPECT_EQ(utf8(card.counterpartyName), "Żabka Polska Sp. z o.o. Oddział Źródło");
    EXPECT_EQ(card.amount, -1234);
    EXPECT_EQ(card.direction, 0);
    EXPECT_EQ(card.operationDate, day(2024, 1, 15));
    EXPECT_EQ(card.bookingDate, day(2024, 1, 16));
    EXPECT_EQ(utf8(card.fileId), "BR24015000001");
    const StatementOperation& transfer = s.operations[1];
    EXPECT_EQ(utf8(transfer.counterpartyName), "Jan Kowalski");
    EXPECT_EQ(utf8(transfer.counterpartyAccount), Nrb("102010260000123456789012"));
    EXPECT_EQ(transfer.kind, 1);
    EXPECT_EQ(transfer.bookingDate, day(2024, 1, 16));
}

INSTANTIATE_TEST_SUITE_P(
    SeparatorsAndCodePages, Mt940Formats,
    ::testing::Values(Mt940Case{'~', "WINDOWS-1250", "\r\n", false, "TildeCp1250"},
                      Mt940Case{'<', "CP852", "\r\n", false, "LessCp852"},
                      Mt940Case{'^', "ISO-8859-2", "\n", true, "CaretLatin2Soh"},
                      Mt940Case{'+', nullptr, "\n", false, "PlusUtf8"},
                      Mt940Case{'?', nullptr, "\r\n", true, "QuestionUtf8Soh"}),
    [](const auto& info) { return std::string(info.param.name); });

struct EntryCase {
    const char* line;  // the ":61:" value
    int64_t operationDate, bookingDate, amount;
    const char* fileId;
};

class Mt940Entries : public ::testing::TestWithParam<EntryCase> {};

TEST_P(Mt940Entries, DatesDirectionAndReference) {
    const EntryCase& c = GetParam();
    const std::string text =
        ":20:X\n:25:" + kAccount + "\n:60F:C231231PLN0,00\n:61:" + c.line + "\n:86:t\n-\n";
    const Statement s = StatementReader::Read(text).statements.at(0);
    ASSERT_EQ(s.operations.size(), 1u);
    EXPECT_EQ(s.operations[0].operationDate, c.operationDate);
    EXPECT_EQ(s.operations[0].bookingDate, c.bookingDate);
    EXPECT_EQ(s.operations[0].amount, c.amount);
    EXPECT_EQ(s.operations[0].direction, c.amount > 0 ? 1 : 0);
    EXPECT_EQ(utf8(s.operations[0].fileId), c.fileId);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Mt940Entries,
    ::testing::Values(
        EntryCase{"2312310102D10,00NTRFNONREF//B1", day(2023, 12, 31), day(2024, 1, 2), -1000,
                  "B1"},
        EntryCase{"2401021231C5,5NTRFNONREF", day(2024, 1, 2), day(2023, 12, 31), 550, ""},
        EntryCase{"240301RD7,00NTRFX//NONREF", day(2024, 3, 1), day(2024, 3, 1), 700, ""},
        EntryCase{"240301RC7,00NCHGX", day(2024, 3, 1), day(2024, 3, 1), -700, ""},
        EntryCase{"240301CN1234,00NTRF1//R", day(2024, 3, 1), day(2024, 3, 1), 123400, "R"}));

TEST(Mt940, FreeTextDetailsAreTheTitleAndStatementsFollowEachOther) {
    const std::string other = Nrb("109010140000071219812874");
    const std::string text =
        "\x01\r\n:20:A\r\n:25:" + kAccount +
        "\r\n:60F:C240101PLN0,00\r\n:61:240101C1,00NTRFNONREF\r\n"
        ":86:911 PRZELEW; OD: JAN; TYT.: ZA \r\nOBIAD; TNR: 1\r\n:62F:C240101PLN1,00\r\n-\x03\r\n"
        "\x01\r\n:20:B\r\n:25:" +
        other + "\r\n:60F:D240101PLN2,00\r\n:62F:D240101PLN2,00\r\n-\x03\r\n";
    const StatementFile file = StatementReader::Read(text);
    ASSERT_EQ(file.statements.size(), 2u);
    EXPECT_EQ(utf8(file.statements[0].operations.at(0).title),
              "911 PRZELEW; OD: JAN; TYT.: ZA OBIAD; TNR: 1");
    EXPECT_EQ(utf8(file.statements[1].account), other);
    EXPECT_EQ(file.statements[1].openingBalance, -200);
}

TEST(Mt940, AWrapInsideASubfieldTagJoinsBack) {
    const std::string text =
        ":20:A\n:25:" + kAccount +
        "\n:60F:C240101PLN0,00\n:61:240101D1,00NTRFNONREF\n:86:~00X~2\n0Pierwsza "
        "~\n21część~3\n2Sklep\n:62F:D240101PLN1,00\n";
    const StatementOperation op = StatementReader::Read(text).statements.at(0).operations.at(0);
    EXPECT_EQ(utf8(op.title), "Pierwsza część");
    EXPECT_EQ(utf8(op.counterpartyName), "Sklep");
}

class CamtVersions : public ::testing::TestWithParam<std::string> {};

TEST_P(CamtVersions, BatchPendingCounterpartiesAndKinds) {
    const StatementFile file = StatementReader::Read(Camt(kAccount, GetParam()));
    ASSERT_EQ(file.format, StatementFormat::Camt053);
    const Statement& s = file.statements.at(0);
    EXPECT_EQ(utf8(s.account), "PL" + kAccount);
    EXPECT_EQ(utf8(s.reference), "WYC-7");
    EXPECT_EQ(s.openingBalance, 10000);
    EXPECT_EQ(s.closingBalance, 128050);
    ASSERT_EQ(s.operations.size(), 5u);
    const StatementOperation& card = s.operations[0];
    EXPECT_EQ(card.amount, -1950);
    EXPECT_EQ(card.kind, 9);
    EXPECT_EQ(card.bookingDate, day(2024, 3, 2));
    EXPECT_EQ(card.operationDate, day(2024, 3, 1));
    EXPECT_EQ(utf8(card.counterpartyName), "Kawiarnia „Pod Żurawiem”");
    EXPECT_EQ(utf8(card.counterpartyAccount), "PL" + Nrb("114020040000350200000001"));
    EXPECT_EQ(utf8(card.title), "Kawa i ciastko");
    EXPECT_EQ(utf8(card.fileId), "REF-1");
    EXPECT_FALSE(s.operations[1].booked);
    EXPECT_EQ(utf8(s.operations[1].title), "Blokada");
    const int64_t amounts[] = {20000, 40000, 60000};
    for (int i = 0; i < 3; ++i) {
        const StatementOperation& op = s.operations[size_t(2 + i)];
        EXPECT_EQ(op.amount, amounts[i]);
        EXPECT_EQ(op.kind, 1);
        EXPECT_EQ(utf8(op.fileId), "B-9/" + std::to_string(i + 1));
        EXPECT_EQ(utf8(op.title), "Składka " + std::to_string(i + 1));
    }
    EXPECT_EQ(utf8(s.operations[3].counterpartyName), "Piotr Wiśniewski");
}

INSTANTIATE_TEST_SUITE_P(Versions, CamtVersions, ::testing::Values("02", "04", "08", "13"));

// A file in another code page, with references, empty elements and line breaks: the names read
// whole and an error names its own line.
TEST(Camt, CodePageReferencesAndLines) {
    std::string text = Camt(kAccount, "02");
    text.replace(text.find("UTF-8"), 5, "windows-1250");
    text.replace(text.find("Pod "), 4, "Pod &amp;\n&#x141;");
    text.replace(text.find("<GrpHdr>"), 0, "<Empty/>\n\n");
    const StatementFile file = StatementReader::Read(Encoded(text, "WINDOWS-1250"));
    EXPECT_EQ(utf8(file.statements.at(0).operations.at(0).counterpartyName),
              "Kawiarnia „Pod &\nŁŻurawiem”");
    text.replace(text.find("2024-03-04"), 10, "\n2024-02-30");
    try {
        StatementReader::Read(Encoded(text, "WINDOWS-1250"));
        FAIL() << "read without an error";
    } catch (const ImportError& error) {
        EXPECT_NE(std::string(error.what()).find("BookgDt w wierszu 5"), std::string::npos)
            << error.what();
    }
}

// Elements are told by where they stand: a prefix changes nothing, and names met again deeper
// (a transaction's own references, its instructed amount, a party's postal name) are not the
// entry's.
TEST(Camt, ElementsCountOnlyWhereTheyStand) {
    std::string text = Camt(kAccount, "08");
    for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        if (text[at + 1] != '?') {
            text.insert(at + (text[at + 1] == '/' ? 2 : 1), "c:");
        }
    }
    text.replace(text.find("xmlns="), 6, "xmlns:c=");
    text.replace(
        text.find("<c:TxDtls>"), 10,
        "<c:TxDtls><c:Refs><c:AcctSvcrRef>X</c:AcctSvcrRef></c:Refs><c:AmtDtls><c:InstdAmt>"
        "<c:Amt Ccy=\"EUR\">1</c:Amt></c:InstdAmt></c:AmtDtls>");
    text.replace(text.find("<c:Nm>"), 0, "<c:PstlAdr><c:Nm>Adres</c:Nm></c:PstlAdr>");
    const Statement s = StatementReader::Read(text).statements.at(0);
    ASSERT_EQ(s.operations.size(), 5u);
    EXPECT_EQ(utf8(s.operations[0].fileId), "REF-1");
    EXPECT_EQ(s.operations[0].amount, -1950);
    EXPECT_EQ(utf8(s.operations[0].counterpartyName), "Kawiarnia „Pod Żurawiem”");
    EXPECT_EQ(utf8(s.operations[0].title), "Kawa i ciastko");
    EXPECT_EQ(s.operations[4].amount, 60000);
}

class OfxVersions : public ::testing::TestWithParam<bool> {};

TEST_P(OfxVersions, TransactionsKindsAndCodePage) {
    const StatementFile file = StatementReader::Read(Ofx(kAccount, GetParam()));
    ASSERT_EQ(file.format, StatementFormat::Ofx);
    const Statement& s = file.statements.at(0);
    EXPECT_EQ(utf8(s.account), kAccount);
    EXPECT_FALSE(s.openingBalance || s.closingBalance);
    ASSERT_EQ(s.operations.size(), 3u);
    EXPECT_EQ(utf8(s.operations[0].counterpartyName), "Księgarnia Świat");
    EXPECT_EQ(utf8(s.operations[0].title), "Książki & zeszyty");
    EXPECT_EQ(s.operations[0].amount, -4590);
    EXPECT_EQ(s.operations[0].bookingDate, day(2024, 5, 10));
    EXPECT_EQ(s.operations[0].operationDate, day(2024, 5, 9));
    EXPECT_EQ(s.operations[1].operationDate, day(2024, 5, 11));
    const int32_t kinds[] = {9, 1, 10};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(s.operations[i].kind, kinds[i]);
        EXPECT_EQ(utf8(s.operations[i].fileId), "F-" + std::to_string(i + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(SgmlAndXml, OfxVersions, ::testing::Bool());

struct BrokenCase {
    std::string bytes;
    const char* message;  // a part of the error
};

class BrokenFiles : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenFiles, AreRefusedNamingThePlace) {
    try {
        StatementReader::Read(GetParam().bytes);
        FAIL() << "read without an error";
    } catch (const ImportError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
            << error.what();
    }
}

std::vector<BrokenCase> brokenCases() {
    const std::string mt940 = Mt940(kAccount, {});
    const std::string camt = Camt(kAccount, "02");
    const std::string ofx = Ofx(kAccount, false);
    std::string badEntry = mt940;
    badEntry.replace(badEntry.find("DN12,34"), 7, "X12,34");
    std::string badDate = camt;
    badDate.replace(badDate.find("2024-03-04"), 10, "2024-02-30");
    return {
        {mt940.substr(0, mt940.find(":62F:")), "urywa się"},
        {badEntry, "Wiersz 5 pliku MT940: nieczytelna operacja"},
        {camt.substr(0, camt.size() / 2), "niepełny"},
        {"<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY x "
         "\"y\">]><Document><BkToCstmrStmt/></Document>",
         "DOCTYPE"},
        {badDate, "element BookgDt w wierszu"},
        {ofx.substr(0, ofx.find("</BANKTRANLIST>")), "niepełny"},
        {"\xEF\xBB\xBFIdentyfikator;Numer rachunku;Nazwa rachunku;Data operacji;Data księgowania;"
         "Kontrahent;Rachunek kontrahenta;Tytuł;Kwota;Rodzaj;Kierunek\r\nX;\"bez końca\r\n",
         "Wiersz 2 pliku CSV"},
        {"Data;Kwota\n2024-01-01;12,00\n", "Nieznany format"},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenFiles, ::testing::ValuesIn(brokenCases()));

}  // namespace
