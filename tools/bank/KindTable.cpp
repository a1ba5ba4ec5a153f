// SPDX-License-Identifier: GPL-3.0-or-later
#include "KindTable.h"

#include <cstdio>

namespace {
using E = KindEffect;
constexpr KindRule kRules[KindTable::kRuleCount] = {
    {1, {"MIES. ZA POLECENIE"}, {}, {}, 0, 15, "* Opłata za polecenie zapłaty", E::ClearAccount},
    {2, {"SMS"}, {}, {}, 0, 21, "* Opłata za powiadomienie SMS", E::ClearAccount},
    {3, {"ODSETKI LOKAT"}, {}, {}, 1, 6, "* Odsetki", E::ClearAccount},
    {4, {"ZUS"}, {}, {}, 0, 3, "* Przelew/ZUS", E::None},
    {5, {"PRZYCH"}, {"ATA", "PODATEK"}, {}, 1, 1, nullptr, E::None},
    {6, {"CIE LOKATY TERMINOWEJ"}, {}, {}, 1, 20, "* Lokata (wygaśnięcie)", E::None},
    {7, {"PRZYCH", "WALUTOWY"}, {}, {}, 1, 1, nullptr, E::None},
    {8, {"A KARTY KREDYT"}, {}, {}, 0, 18, "* Spłata karty", E::ClearAccount},
    {9, {"POLECENIE"}, {}, {}, 0, 2, nullptr, E::None},
    {10, {"WYCH"}, {"ATA", "PODATEK"}, {}, 0, 3, nullptr, E::TopUp},
    {11, {"PODATEK"}, {}, {}, 0, 8, "* Podatek od odsetek", E::ClearAccount},
    {12, {"PODATKOWY"}, {}, {}, 0, 8, "* Podatek", E::ClearAccount},
    {13, {"ZNAKI"}, {}, {}, 0, 4, "* Opłata (Znaczki Skarbowe)", E::ClearAccount},
    {14, {"ANULOWANIE P"}, {}, {}, 1, 16, "* Anulowanie przelewu", E::DropMinus},
    {15, {"STORNO"}, {}, {}, 0, 5, "* Korekta odsetek", E::ClearAccount},
    {16, {"KAPITALIZACJA"}, {}, {}, 1, 6, "* Odsetki", E::ClearAccount},
    {17, {"ATA PRZELEW ZEW"}, {}, {}, 0, 7, "* Opłata (przelew zewn.)", E::ClearAccount},
    {18, {"ATA PRZELEW WEW"}, {}, {}, 0, 7, "* Opłata (przelew wewn.)", E::ClearAccount},
    {19, {}, {}, {"ATA ZA KA", "WZNOWIENIE KARTY"}, 0, 12, "* Inne opłaty", E::ClearAccount},
    {20, {"KARTY", "PRZELEW"}, {}, {}, 1, 22, "* Przelew z karty kredytowej", E::CardFields},
    {21, {"KARTY"}, {}, {}, 0, 9, "* Zapłata kartą", E::CardFields},
    {22, {"BANKOMACIE", "WYP"}, {}, {}, 0, 10, "* Wypłata w bankomacie", E::CardFields},
    {23, {"WPŁATA WE WPŁATOMACIE"}, {}, {}, 1, 14, "* Wpłata w bankomacie", E::ClearAccount},
    {24, {"ATM KRA"}, {}, {}, 0, 11, "* Prowizja (bankomat)", E::ClearAccount},
    {25, {"PIN"}, {}, {}, 0, 15, "* Opłata (zmiana PIN)", E::ClearAccount},
    {26, {"SALDA"}, {}, {}, 0, 15, "* Opłata (sprawdzenie salda)", E::ClearAccount},
};

bool contains(const std::string& text, const char* fragment) {
    return text.find(fragment) != std::string::npos;
}

bool holds(const KindRule& rule, const std::string& text) {
    for (const char* fragment : rule.all) {
        if (fragment != nullptr && !contains(text, fragment)) {
            return false;
        }
    }
    for (const char* fragment : rule.none) {
        if (fragment != nullptr && contains(text, fragment)) {
            return false;
        }
    }
    if (rule.any[0] == nullptr) {
        return true;
    }
    for (const char* fragment : rule.any) {
        if (fragment != nullptr && contains(text, fragment)) {
            return true;
        }
    }
    return false;
}

// Hard spaces and runs of spaces become one space, ends trimmed: how the module reads names.
std::string collapse(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool hard = text.compare(i, 2, "\xC2\xA0") == 0;
        const char c = hard || text[i] == '\t' ? ' ' : text[i];
        i += hard ? 1 : 0;
        if (c == ' ' && (out.empty() || out.back() == ' ')) {
            continue;
        }
        out.push_back(c);
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

// The first `count` characters of a UTF-8 text (each Polish letter is one byte in Windows-1250).
std::string firstCharacters(const std::string& text, size_t count) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == count) {
            return text.substr(0, i);
        }
    }
    return text;
}

std::string without(std::string text, char c) {
    std::erase(text, c);
    return text;
}

std::string formatGrosze(int64_t grosze) {
    char text[32];
    const int64_t magnitude = grosze < 0 ? -grosze : grosze;
    std::snprintf(text, sizeof text, "%s%lld,%02lld", grosze < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 100), static_cast<long long>(magnitude % 100));
    return text;
}

void applyRule(const KindRule& rule, const BankOperation& op, ExpectedRecord& record) {
    record.direction = rule.direction;
    record.kind = rule.code;
    if (rule.label != nullptr) {
        record.counterpartyName = rule.label;
    }
    switch (rule.effect) {
        case KindEffect::ClearAccount:
            record.counterpartyAccount.clear();
            break;
        case KindEffect::CardFields:
            record.counterpartyAccount = op.cardNumber;
            if (record.title.empty() && !op.place.empty()) {
                record.title = op.place;
            }
            break;
        case KindEffect::DropMinus:
            record.amountText = without(record.amountText, '-');
            break;
        case KindEffect::TopUp:
            if (contains(record.counterpartyName, "BLUE MEDIA") ||
                contains(record.counterpartyName, KindTable::kTopUpOperator)) {
                record.kind = 13;
            }
            if (contains(record.counterpartyName, "QXL")) {
                record.kind = 17;
            }
            break;
        case KindEffect::None:
            break;
    }
}
}  // namespace

const KindRule& KindTable::Rule(int number) {
    return kRules[number - 1];
}

const KindRule* KindTable::Match(const std::string& kindText) {
    for (const KindRule& rule : kRules) {
        if (holds(rule, kindText)) {
            return &rule;
        }
    }
    return nullptr;
}

bool KindTable::IsCard(const BankOperation& operation) {
    const KindRule* rule = Match(operation.kindText);
    return rule != nullptr && rule->effect == KindEffect::CardFields;
}

ExpectedRecord KindTable::Expect(const BankOperation& op) {
    ExpectedRecord record;
    record.kindText = op.kindText;
    record.direction = op.negative ? 0 : 1;
    record.amountText = std::string(op.negative ? "-" : "") + formatGrosze(op.grosze);
    // A card page has no counterparty rows; the card fields take their place.
    record.counterpartyAccount = IsCard(op) ? "" : without(op.counterpartyAccount, ' ');
    record.counterpartyName = IsCard(op) ? "" : collapse(op.counterpartyName);
    record.title = collapse(op.title);
    if (const KindRule* rule = Match(op.kindText)) {
        record.rule = rule->number;
        applyRule(*rule, op, record);
    }
    record.title = firstCharacters(record.title, 139);
    record.counterpartyName = firstCharacters(record.counterpartyName, 139);
    if (contains(record.title, "<")) {
        record.title.clear();
    }
    record.title = without(record.title, '"');
    record.counterpartyName = without(record.counterpartyName, '"');
    record.counterpartyAccount = without(record.counterpartyAccount, '"');
    int64_t grosze = record.amountText.find('-') == std::string::npos ? op.grosze : -op.grosze;
    if (record.direction == 0 && grosze > 0) {
        grosze = -grosze;
    }
    record.amountText = formatGrosze(grosze);
    if (contains(record.counterpartyName, "<") || contains(record.counterpartyName, ">")) {
        record.counterpartyName.clear();
        if (record.title.size() < 2) {
            record.title = record.kindText;
        }
    }
    if (record.counterpartyAccount.size() > 27) {
        record.counterpartyAccount.clear();
    }
    record.delivered = grosze != 0;
    return record;
}
