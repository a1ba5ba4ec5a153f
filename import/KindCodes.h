// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Operation kinds from the codes statement files carry, only where a code says it plainly;
// everything else is 0 (not classified). The numbers are those the bank module stores.

#include <QString>

#include <cstdint>

namespace KindCodes {

constexpr int32_t kNone = 0;
constexpr int32_t kIncomingTransfer = 1;
constexpr int32_t kOutgoingTransfer = 3;
constexpr int32_t kInterest = 6;
constexpr int32_t kInterestTax = 8;
constexpr int32_t kCardPayment = 9;
constexpr int32_t kCashWithdrawal = 10;
constexpr int32_t kCashDeposit = 14;
constexpr int32_t kOtherFees = 15;

// OFX TRNTYPE: POS, ATM (a withdrawal out, a deposit in), FEE, SRVCHG, INT, XFER.
int32_t FromOfxType(const QString& type, int32_t direction);

// The three-character SWIFT type code of an MT940 ":61:" line (after N, S or F): TRF, CHG, COM,
// INT.
int32_t FromSwiftCode(const QString& code, int32_t direction);

// An ISO 20022 bank transaction code: domain, family and sub-family.
int32_t FromBankTransactionCode(const QString& domain, const QString& family,
                                const QString& subFamily, int32_t direction);

// The operation type as a bank's CSV names it in Polish ("Płatność kartą", "Wypłata z
// bankomatu", "Przelew przychodzący", "Opłata", "Odsetki", ...); kNone for anything less plain.
int32_t FromBankText(const QString& text, int32_t direction);

}  // namespace KindCodes
