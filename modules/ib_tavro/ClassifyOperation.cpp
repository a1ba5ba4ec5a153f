// SPDX-License-Identifier: GPL-3.0-or-later
#include <vector>

#include "HtmlScanner.h"
#include "OperationDetails.h"

namespace {
enum class Effect { None, ClearAccount, CardFields, Cancellation, OutgoingTransfer };

// A rule matches when the kind text contains every `all` text, at least one `any` text (when
// given) and none of the `none` texts.
struct Rule {
    std::vector<const char*> all;
    std::vector<const char*> any;
    std::vector<const char*> none;
    int direction;
    int kind;
    const char* label;  // Windows-1250; null keeps the name read from the page
    Effect effect;
};

// "\xB3" is the letter l with stroke, "\xB9" a with ogonek, "\x9C" s acute, "\xEA" e with ogonek,
// "\xA3" capital L with stroke (Windows-1250). The order is part of the behaviour: fragments such
// as "ATA" (fee, payment) and "WYCH"/"PRZYCH" (outgoing/incoming) overlap.
const std::vector<Rule>& rules() {
    static const std::vector<Rule> table = {
        {{"MIES. ZA POLECENIE"},
         {},
         {},
         0,
         15,
         "* Op\xB3"
         "ata za polecenie zap\xB3"
         "aty",
         Effect::ClearAccount},
        {{"SMS"},
         {},
         {},
         0,
         21,
         "* Op\xB3"
         "ata za powiadomienie SMS",
         Effect::ClearAccount},
        {{"ODSETKI LOKAT"}, {}, {}, 1, 6, "* Odsetki", Effect::ClearAccount},
        {{"ZUS"}, {}, {}, 0, 3, "* Przelew/ZUS", Effect::None},
        {{"PRZYCH"}, {}, {"ATA", "PODATEK"}, 1, 1, nullptr, Effect::None},
        {{"CIE LOKATY TERMINOWEJ"},
         {},
         {},
         1,
         20,
         "* Lokata (wyga\x9Cni\xEA"
         "cie)",
         Effect::None},
        {{"PRZYCH", "WALUTOWY"}, {}, {}, 1, 1, nullptr, Effect::None},
        {{"A KARTY KREDYT"},
         {},
         {},
         0,
         18,
         "* Sp\xB3"
         "ata karty",
         Effect::ClearAccount},
        {{"POLECENIE"}, {}, {}, 0, 2, nullptr, Effect::None},
        {{"WYCH"}, {}, {"ATA", "PODATEK"}, 0, 3, nullptr, Effect::OutgoingTransfer},
        {{"PODATEK"}, {}, {}, 0, 8, "* Podatek od odsetek", Effect::ClearAccount},
        {{"PODATKOWY"}, {}, {}, 0, 8, "* Podatek", Effect::ClearAccount},
        {{"ZNAKI"},
         {},
         {},
         0,
         4,
         "* Op\xB3"
         "ata (Znaczki Skarbowe)",
         Effect::ClearAccount},
        {{"ANULOWANIE P"}, {}, {}, 1, 16, "* Anulowanie przelewu", Effect::Cancellation},
        {{"STORNO"}, {}, {}, 0, 5, "* Korekta odsetek", Effect::ClearAccount},
        {{"KAPITALIZACJA"}, {}, {}, 1, 6, "* Odsetki", Effect::ClearAccount},
        {{"ATA PRZELEW ZEW"},
         {},
         {},
         0,
         7,
         "* Op\xB3"
         "ata (przelew zewn.)",
         Effect::ClearAccount},
        {{"ATA PRZELEW WEW"},
         {},
         {},
         0,
         7,
         "* Op\xB3"
         "ata (przelew wewn.)",
         Effect::ClearAccount},
        {{},
         {"ATA ZA KA", "WZNOWIENIE KARTY"},
         {},
         0,
         12,
         "* Inne op\xB3"
         "aty",
         Effect::ClearAccount},
        {{"KARTY", "PRZELEW"}, {}, {}, 1, 22, "* Przelew z karty kredytowej", Effect::CardFields},
        {{"KARTY"},
         {},
         {},
         0,
         9,
         "* Zap\xB3"
         "ata kart\xB9",
         Effect::CardFields},
        {{"BANKOMACIE", "WYP"},
         {},
         {},
         0,
         10,
         "* Wyp\xB3"
         "ata w bankomacie",
         Effect::CardFields},
        {{"WP\xA3"
          "ATA WE WP\xA3"
          "ATOMACIE"},
         {},
         {},
         1,
         14,
         "* Wp\xB3"
         "ata w bankomacie",
         Effect::ClearAccount},
        {{"ATM KRA"}, {}, {}, 0, 11, "* Prowizja (bankomat)", Effect::ClearAccount},
        {{"PIN"},
         {},
         {},
         0,
         15,
         "* Op\xB3"
         "ata (zmiana PIN)",
         Effect::ClearAccount},
        {{"SALDA"},
         {},
         {},
         0,
         15,
         "* Op\xB3"
         "ata (sprawdzenie salda)",
         Effect::ClearAccount},
    };
    return table;
}

bool matches(const Rule& rule, const std::string& kindText) {
    for (const char* text : rule.all) {
        if (!Contains(kindText, text)) {
            return false;
        }
    }
    bool anyFound = rule.any.empty();
    for (const char* text : rule.any) {
        anyFound = anyFound || Contains(kindText, text);
    }
    for (const char* text : rule.none) {
        if (Contains(kindText, text)) {
            return false;
        }
    }
    return anyFound;
}

// Top-up operators and the online auction service are told apart by the counterparty's name.
int outgoingTransferKind(const std::string& name) {
    int kind = 3;
    for (const char* operatorName : kTopUpOperators) {
        if (Contains(name, operatorName)) {
            kind = 13;
        }
    }
    if (Contains(name, "QXL")) {
        kind = 17;
    }
    return kind;
}

void applyEffect(Effect effect, ScrapedOperation& operation) {
    switch (effect) {
        case Effect::ClearAccount:
            operation.account.clear();
            break;
        case Effect::CardFields:
            operation.account = operation.cardNumber;
            if (operation.title.empty() && !operation.place.empty()) {
                operation.title = operation.place;
            }
            break;
        case Effect::Cancellation:
            RemoveAll(operation.amount, "-");
            break;
        case Effect::OutgoingTransfer:
            operation.kind = outgoingTransferKind(operation.name);
            break;
        case Effect::None:
            break;
    }
}
}  // namespace

void ClassifyOperation(ScrapedOperation& operation) {
    for (const Rule& rule : rules()) {
        if (!matches(rule, operation.kindText)) {
            continue;
        }
        operation.direction = rule.direction;
        operation.kind = rule.kind;
        if (rule.label != nullptr) {
            operation.name = rule.label;
        }
        applyEffect(rule.effect, operation);
        return;
    }
    operation.kind = 0;
}
