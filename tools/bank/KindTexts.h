// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bank's own names of its operations, as its pages print them.

namespace KindTexts {
constexpr const char* kDirectDebitFee = "OPŁATA MIES. ZA POLECENIE ZAPŁATY";
constexpr const char* kSmsFee = "OPŁATA ZA POWIADOMIENIA SMS";
constexpr const char* kDepositInterest = "ODSETKI LOKAT TERMINOWYCH";
constexpr const char* kSocialInsurance = "PRZELEW ZUS";
constexpr const char* kIncoming = "PRZELEW PRZYCHODZĄCY";
constexpr const char* kDepositEnd = "WYGAŚNIĘCIE LOKATY TERMINOWEJ";
constexpr const char* kForeignInvoice = "PRZELEW WALUTOWY PRZYCHODZĄCY - ZAPŁATA ZA FAKTURĘ";
constexpr const char* kCreditCardRepayment = "SPŁATA KARTY KREDYTOWEJ";
constexpr const char* kDirectDebit = "POLECENIE ZAPŁATY";
constexpr const char* kOutgoing = "PRZELEW WYCHODZĄCY";
constexpr const char* kInterestTax = "PODATEK OD ODSETEK";
constexpr const char* kTax = "PRZELEW PODATKOWY";
constexpr const char* kStampDuty = "ZNAKI SKARBOWE";
constexpr const char* kCancelled = "ANULOWANIE PRZELEWU";
constexpr const char* kInterestCorrection = "STORNO ODSETEK";
constexpr const char* kCapitalisation = "KAPITALIZACJA ODSETEK";
constexpr const char* kExternalTransferFee = "OPŁATA PRZELEW ZEWNĘTRZNY WYCHODZĄCY";
constexpr const char* kInternalTransferFee = "OPŁATA PRZELEW WEWNĘTRZNY";
constexpr const char* kCardFee = "OPŁATA ZA KARTĘ";
constexpr const char* kCreditCardTransfer = "PRZELEW Z KARTY KREDYTOWEJ";
constexpr const char* kCardPayment = "ZAKUP PRZY UŻYCIU KARTY";
constexpr const char* kWithdrawal = "WYPŁATA W BANKOMACIE";
constexpr const char* kCashDeposit = "WPŁATA WE WPŁATOMACIE";
constexpr const char* kCashMachineFee = "PROWIZJA ATM KRAJ";
constexpr const char* kPinFee = "OPŁATA ZA ZMIANĘ PIN";
constexpr const char* kBalanceFee = "OPŁATA ZA SPRAWDZENIE SALDA";
// No rule of the module's table knows these three.
constexpr const char* kStandingOrder = "ZLECENIE STAŁE";
constexpr const char* kOther = "INNA OPERACJA";
constexpr const char* kDepositStart = "ZAŁOŻENIE LOKATY TERMINOWEJ";
}  // namespace KindTexts
