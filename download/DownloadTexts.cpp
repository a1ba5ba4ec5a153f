// SPDX-License-Identifier: GPL-3.0-or-later
#include "DownloadTexts.h"

#include <cstdio>
#include <string>

#include "StorageFailure.h"
#include "TextFormat.h"

std::u16string ResultText(int32_t code) {
    switch (code) {
        case 0:
            return u"bez błędu";
        case 1:
            return u"thread error/old iface";
        case -1:
            return u"błąd połaczenia";
        case -2:
            return u"bład interface'u sieci";
        case -3:
            return u"błąd parsowania (możliwe błędne hasło)";
        case -4:
            return u"błąd logowania (nieprawidłowe dane autoryzacji)";
        case -5:
            return u"niewłaściwe parametry";
        case -7:
            return u"błąd pobierania danych";
        case -8:
            return u"użytkownik przerwał operację";
        case -9:
            return u"błąd zdalny";
        case -10:
            return u"brak parametru";
        case -11:
            return u"niewłaściwa struktura danych";
        case -12:
            return u"generic error";
        default:
            return u"nieznany błąd";
    }
}

std::u16string WarningText(const std::u16string& account, int32_t code) {
    // Negated in 64 bits: the lowest int32 has no positive counterpart.
    const int64_t shown = -static_cast<int64_t>(code);
    return u"OSTRZEŻENIE: Podczas próby pobrania historii operacji z konta\r\n'" + account +
           u"' wystąpił błąd o kodzie " + FromUtf8(std::to_string(shown)) + u", co oznacza:\r\n" +
           ResultText(code);
}

std::u16string StorageWarningText(const std::u16string& account, int sqliteCode) {
    return u"Operacje z konta '" + account + u"' nie zostały zapisane. " +
           StorageFailure::Reason(sqliteCode) +
           u" Operacje zapisane wcześniej pozostały bez zmian.";
}

std::u16string JobTitle(const std::u16string& displayName) {
    return u"Nowe operacje na koncie '" + displayName + u"'";
}

std::u16string RunTitle() {
    return u"Nowe operacje na liście";
}

std::u16string CountText(int32_t count, double sum) {
    // No process locale is set, so the decimal comma is put in by hand.
    char amount[64];
    std::snprintf(amount, sizeof amount, "%.2f", sum);
    std::string text = amount;
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return FormatText("Sztuk: %d, na łączną kwotę %s", count, text.c_str());
}
