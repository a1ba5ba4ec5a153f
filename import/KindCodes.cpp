// SPDX-License-Identifier: GPL-3.0-or-later
#include "KindCodes.h"

namespace KindCodes {

namespace {
int32_t transfer(int32_t direction) {
    return direction == 1 ? kIncomingTransfer : kOutgoingTransfer;
}
}  // namespace

int32_t FromOfxType(const QString& written, int32_t direction) {
    const QString type = written.trimmed().toUpper();
    if (type == u"POS") {
        return kCardPayment;
    }
    if (type == u"ATM") {
        return direction == 0 ? kCashWithdrawal : kCashDeposit;
    }
    if (type == u"FEE" || type == u"SRVCHG") {
        return kOtherFees;
    }
    if (type == u"INT") {
        return kInterest;
    }
    if (type == u"XFER") {
        return transfer(direction);
    }
    return kNone;
}

int32_t FromSwiftCode(const QString& written, int32_t direction) {
    const QString code = written.trimmed().toUpper();
    if (code == u"TRF") {
        return transfer(direction);
    }
    if (code == u"CHG" || code == u"COM") {
        return kOtherFees;
    }
    if (code == u"INT") {
        return kInterest;
    }
    return kNone;
}

int32_t FromBankTransactionCode(const QString& domain, const QString& family,
                                const QString& subFamily, int32_t direction) {
    const QString d = domain.toUpper(), f = family.toUpper(), s = subFamily.toUpper();
    if (s == u"CHRG" || s == u"COMM" || s == u"FEES" || s == u"COMI") {
        return kOtherFees;
    }
    if (s == u"INTR" || (f == u"MDOP" && s == u"INTR")) {
        return kInterest;
    }
    if (d != u"PMNT" && !d.isEmpty()) {
        return kNone;
    }
    if (f == u"RCDT") {
        return direction == 1 ? kIncomingTransfer : kNone;
    }
    if (f == u"ICDT") {
        return direction == 0 ? kOutgoingTransfer : kNone;
    }
    if (f == u"CCRD" || f == u"DCRD") {
        if (s == u"POSD" || s == u"POSC") {
            return direction == 0 ? kCardPayment : kNone;
        }
        if (s == u"CWDL") {
            return direction == 0 ? kCashWithdrawal : kNone;
        }
    }
    return kNone;
}

int32_t FromBankText(const QString& written, int32_t direction) {
    const QString text = written.toLower();
    auto has = [&text](const char16_t* word) { return text.contains(QStringView(word)); };
    if (has(u"bankomat") || has(u"wypłata gotówki") || has(u"wpłata gotówki")) {
        return direction == 0 ? kCashWithdrawal : kCashDeposit;
    }
    if (has(u"kartą") || has(u"karta") || has(u"kartow")) {
        return direction == 0 ? kCardPayment : kNone;
    }
    if (has(u"podatek")) {
        return has(u"odsetk") && direction == 0 ? kInterestTax : kNone;
    }
    if (has(u"odsetk") || has(u"kapitalizacja")) {
        return kInterest;
    }
    if (has(u"opłata") || has(u"prowizja")) {
        return direction == 0 ? kOtherFees : kNone;
    }
    if (has(u"przelew")) {
        return transfer(direction);
    }
    return kNone;
}

}  // namespace KindCodes
