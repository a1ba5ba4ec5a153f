// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "OperationDetails.h"

namespace {
struct ClassCase {
    const char* label;
    std::string kindText;
    std::string name;  // counterparty name read from the page
    int startDirection;
    int kind;
    int direction;
    std::string expectedName;  // label written by the rule, or the name as read
    bool accountCleared;       // card rules put the (here empty) card number there
};

// Windows-1250 labels.
const std::string kFeePrefix =
    "* Op\xB3"
    "ata";

class ClassifyOperationTest : public ::testing::TestWithParam<ClassCase> {};

TEST_P(ClassifyOperationTest, FirstMatchingRuleDecides) {
    const ClassCase& c = GetParam();
    ScrapedOperation operation;
    operation.kindText = c.kindText;
    operation.name = c.name;
    operation.account = "11112222333344445555666677";
    operation.direction = c.startDirection;
    operation.amount = c.startDirection ? "10,00" : "-10,00";
    ClassifyOperation(operation);
    EXPECT_EQ(operation.kind, c.kind);
    EXPECT_EQ(operation.direction, c.direction);
    EXPECT_EQ(operation.name, c.expectedName);
    EXPECT_EQ(operation.account.empty(), c.accountCleared);
}

const char* kName = "JAN KOWALSKI";

INSTANTIATE_TEST_SUITE_P(
    Rules, ClassifyOperationTest,
    ::testing::Values(
        ClassCase{"R1DirectDebitFee", "OPL. MIES. ZA POLECENIE ZAPLATY", kName, 1, 15, 0,
                  kFeePrefix + " za polecenie zap\xB3"
                               "aty",
                  true},
        ClassCase{"R2Sms", "OPLATA SMS", kName, 1, 21, 0, kFeePrefix + " za powiadomienie SMS",
                  true},
        ClassCase{"R3DepositInterest", "ODSETKI LOKATY", kName, 0, 6, 1, "* Odsetki", true},
        ClassCase{"R4Zus", "PRZELEW ZUS", kName, 1, 3, 0, "* Przelew/ZUS", false},
        ClassCase{"R5Incoming", "PRZELEW PRZYCHODZACY", kName, 0, 1, 1, kName, false},
        ClassCase{"R6DepositEnded", "ZAMKNIECIE LOKATY TERMINOWEJ", kName, 0, 20, 1,
                  "* Lokata (wyga\x9Cni\xEA"
                  "cie)",
                  false},
        ClassCase{"R7ForeignIncomingWithAta", "PRZYCHODZACY WALUTOWY ZAPLATA", kName, 0, 1, 1,
                  kName, false},
        ClassCase{"R8CardRepayment", "SPLATA KARTY KREDYTOWEJ", kName, 1, 18, 0,
                  "* Sp\xB3"
                  "ata karty",
                  true},
        ClassCase{"R9DirectDebit", "POLECENIE ZAPLATY", kName, 1, 2, 0, kName, false},
        ClassCase{"R10Outgoing", "PRZELEW WYCHODZACY", kName, 1, 3, 0, kName, false},
        ClassCase{"R10BlueMedia", "PRZELEW WYCHODZACY", "BLUE MEDIA SA", 1, 13, 0, "BLUE MEDIA SA",
                  false},
        ClassCase{"R10SecondOperator", "PRZELEW WYCHODZACY", "DOLADOWANIA.PL", 1, 13, 0,
                  "DOLADOWANIA.PL", false},
        ClassCase{"R10Qxl", "PRZELEW WYCHODZACY", "QXL POLAND", 1, 17, 0, "QXL POLAND", false},
        ClassCase{"R10QxlWinsOverBlueMedia", "PRZELEW WYCHODZACY", "BLUE MEDIA QXL", 1, 17, 0,
                  "BLUE MEDIA QXL", false},
        ClassCase{"R11Tax", "PODATEK OD ODSETEK", kName, 1, 8, 0, "* Podatek od odsetek", true},
        ClassCase{"R10ExcludesPodatek", "PRZELEW WYCHODZACY PODATEK", kName, 1, 8, 0,
                  "* Podatek od odsetek", true},
        ClassCase{"R12TaxTransfer", "PRZELEW PODATKOWY", kName, 1, 8, 0, "* Podatek", true},
        ClassCase{"R13Stamps", "ZNAKI SKARBOWE", kName, 1, 4, 0, kFeePrefix + " (Znaczki Skarbowe)",
                  true},
        ClassCase{"R14Cancelled", "ANULOWANIE PRZELEWU", kName, 0, 16, 1, "* Anulowanie przelewu",
                  false},
        ClassCase{"R15Storno", "STORNO ODSETEK", kName, 1, 5, 0, "* Korekta odsetek", true},
        ClassCase{"R16Capitalisation", "KAPITALIZACJA ODSETEK", kName, 0, 6, 1, "* Odsetki", true},
        ClassCase{"R17FeeExternalWithPrzych", "OPLATA PRZELEW ZEWN PRZYCH", kName, 1, 7, 0,
                  kFeePrefix + " (przelew zewn.)", true},
        ClassCase{"R17FeeExternalWithWych", "OPLATA PRZELEW ZEWN WYCH", kName, 1, 7, 0,
                  kFeePrefix + " (przelew zewn.)", true},
        ClassCase{"R18FeeInternal", "OPLATA PRZELEW WEWN", kName, 1, 7, 0,
                  kFeePrefix + " (przelew wewn.)", true},
        ClassCase{"R19CardFee", "OPLATA ZA KARTE", kName, 1, 12, 0,
                  "* Inne op\xB3"
                  "aty",
                  true},
        ClassCase{"R19CardRenewal", "WZNOWIENIE KARTY", kName, 1, 12, 0,
                  "* Inne op\xB3"
                  "aty",
                  true},
        ClassCase{"R20CreditCardTransfer", "PRZELEW Z KARTY", kName, 0, 22, 1,
                  "* Przelew z karty kredytowej", true},
        ClassCase{"R21CardPayment", "TRANSAKCJA KARTY", kName, 1, 9, 0,
                  "* Zap\xB3"
                  "ata kart\xB9",
                  true},
        ClassCase{"R22CashMachine", "WYPLATA W BANKOMACIE", kName, 1, 10, 0,
                  "* Wyp\xB3"
                  "ata w bankomacie",
                  true},
        ClassCase{"R23CashDeposit",
                  "WP\xA3"
                  "ATA WE WP\xA3"
                  "ATOMACIE",
                  kName, 0, 14, 1,
                  "* Wp\xB3"
                  "ata w bankomacie",
                  true},
        ClassCase{"R24AtmCommission", "PROWIZJA ATM KRAJ", kName, 1, 11, 0, "* Prowizja (bankomat)",
                  true},
        ClassCase{"R25Pin", "ZMIANA PIN", kName, 1, 15, 0, kFeePrefix + " (zmiana PIN)", true},
        ClassCase{"R26Balance", "SPRAWDZENIE SALDA", kName, 1, 15, 0,
                  kFeePrefix + " (sprawdzenie salda)", true},
        // One kind text, two rules: the earlier rule decides.
        ClassCase{"R4ZusBeforeOutgoing",
                  "PRZELEW WYCHODZ\xA5"
                  "CY ZUS",
                  kName, 1, 3, 0, "* Przelew/ZUS", false},
        ClassCase{"R5IncomingBeforeDepositEnded",
                  "PRZYCHODZ\xA5"
                  "CY ZAMKNI\xCA"
                  "CIE LOKATY TERMINOWEJ",
                  kName, 0, 1, 1, kName, false},
        ClassCase{"R6DepositEndedWhenAtaRulesOutR5", "WYPLATA PRZYCH ZAMKNIECIE LOKATY TERMINOWEJ",
                  kName, 0, 20, 1,
                  "* Lokata (wyga\x9Cni\xEA"
                  "cie)",
                  false},
        ClassCase{"R10BeforeCancelled",
                  "ANULOWANIE PRZELEWU WYCHODZ\xA5"
                  "CEGO",
                  kName, 1, 3, 0, kName, false},
        ClassCase{"R21CardBeforeCashMachine", "WYPLATA Z KARTY W BANKOMACIE", kName, 1, 9, 0,
                  "* Zap\xB3"
                  "ata kart\xB9",
                  true},
        ClassCase{"R21CardBeforePin", "ZMIANA PIN KARTY", kName, 1, 9, 0,
                  "* Zap\xB3"
                  "ata kart\xB9",
                  true},
        ClassCase{"R21CardBeforeBalance", "SPRAWDZENIE SALDA KARTY", kName, 1, 9, 0,
                  "* Zap\xB3"
                  "ata kart\xB9",
                  true},
        ClassCase{"NoMatchKeepsDirection", "COS INNEGO", kName, 1, 0, 1, kName, false},
        ClassCase{"NoMatchIsCaseSensitive", "przelew wychodzacy", kName, 0, 0, 0, kName, false}),
    [](const auto& info) { return info.param.label; });

TEST(ClassifyOperation, CardFieldsUseCardNumberAndPlace) {
    ScrapedOperation operation;
    operation.kindText = "TRANSAKCJA KARTY";
    operation.cardNumber = "4111****1111";
    operation.place = "SKLEP WARSZAWA";
    ClassifyOperation(operation);
    EXPECT_EQ(operation.account, "4111****1111");
    EXPECT_EQ(operation.title, "SKLEP WARSZAWA");

    operation.title = "ZAKUPY";
    ClassifyOperation(operation);
    EXPECT_EQ(operation.title, "ZAKUPY");
}

TEST(ClassifyOperation, CancellationOnNegativeItemLosesTheMinus) {
    ScrapedOperation operation;
    operation.kindText = "ANULOWANIE PRZELEWU";
    operation.direction = 0;
    operation.amount = "-150,00";
    ClassifyOperation(operation);
    EXPECT_EQ(operation.direction, 1);
    EXPECT_EQ(operation.amount, "150,00");
}
}  // namespace
