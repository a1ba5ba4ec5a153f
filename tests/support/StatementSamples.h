// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Statement files made by the tests themselves: invented names, valid account numbers.

#include <string>

namespace StatementSamples {

// A valid NRB built from 24 digits.
std::string Nrb(const std::string& last24);

// UTF-8 text in another code page (iconv name).
std::string Encoded(const std::string& utf8, const char* codePage);

// Splits every line longer than `width` characters (UTF-8 text) into continuation lines.
std::string Wrapped(const std::string& text, size_t width);

struct Mt940Options {
    char separator = '~';
    std::string lineEnd = "\r\n";
    bool soh = false;  // each block in SOH ... "-" ETX
};

// One statement of account `account` (written "/PL" + digits): a card payment out with
// Polish letters and an incoming transfer, balances 1000,00 -> 1000,00 - 12,34 + 250,00.
std::string Mt940(const std::string& account, const Mt940Options& options);

// A camt.053 statement of version `version` ("02", "08"): one booked payment out, one pending
// entry, and a batch of three incoming transfers; balances agree.
std::string Camt(const std::string& account, const std::string& version);

// OFX 1.x (SGML, CHARSET:1250, Windows-1250 bytes) or 2.x (XML, UTF-8) with three transactions.
std::string Ofx(const std::string& account, bool xml);

}  // namespace StatementSamples
