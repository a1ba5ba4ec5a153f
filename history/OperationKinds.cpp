#include "OperationKinds.h"

namespace {

constexpr int32_t kFirstUnlisted = 20;

// Kinds 20..22 have no filter item; these are the labels the module writes for them.
const char16_t* const kUnlisted[] = {u"Lokata (wygaśnięcie)", u"Opłata za powiadomienie SMS",
                                     u"Przelew z karty kredytowej"};

}  // namespace

const std::vector<std::u16string>& OperationKinds::FilterItems() {
    static const std::vector<std::u16string> items = {u"Wszystkie",
                                                      u"Przelewy przychodzące",
                                                      u"Polecenia zapłaty",
                                                      u"Przelewy wychodzące",
                                                      u"Opłaty za znaczki skarbowe",
                                                      u"Korekty odsetek",
                                                      u"Kapitalizacja odsetek",
                                                      u"Opłaty za przelewy",
                                                      u"Podatek od odsetek",
                                                      u"Karta płatnicza",
                                                      u"Karta płatnicza (bankomat)",
                                                      u"Prowizje",
                                                      u"Opłata za kartę",
                                                      u"Doładowanie telefonu",
                                                      u"Wpłaty w bankomacie",
                                                      u"Inne opłaty",
                                                      u"Anulowane przelewy",
                                                      u"Opłaty za aukcje internetowe",
                                                      u"Spłata karty kredytowej",
                                                      u"Wygaśnięcie lokaty"};
    return items;
}

std::u16string OperationKinds::Label(int32_t kind) {
    const auto& items = FilterItems();
    if (kind > 0 && size_t(kind) < items.size()) {
        return items[size_t(kind)];
    }
    const int32_t unlisted = kind - kFirstUnlisted;
    if (unlisted >= 0 && size_t(unlisted) < std::size(kUnlisted)) {
        return kUnlisted[unlisted];
    }
    if (kind == 0) {
        return {};
    }
    const std::string digits = std::to_string(kind);
    return std::u16string(digits.begin(), digits.end());
}
