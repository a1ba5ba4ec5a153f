// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationDetails.h"

#include "HtmlScanner.h"

namespace {
const std::string kContent = "</label><div class=\"content\">";
const std::string kAmountSpan = "<span id=\"_label\" class=\"text amount\">";

// Reads the labelled fields of one page and remembers whether any label was there at all.
class DetailsFields {
public:
    explicit DetailsFields(const std::string& page) : m_page(page) {}

    // The text after "<label>...</label><div class="content">" (and `prefix`) up to `end`.
    std::string operator()(const std::string& label, const std::string& prefix = "",
                           const char* end = "</div>") {
        std::string value;
        if (ExtractBetween(m_page, label + kContent + prefix, end, value, 0) != 0) {
            m_anyLabel = true;
        }
        return value;
    }
    bool anyLabel() const { return m_anyLabel; }

private:
    const std::string& m_page;
    bool m_anyLabel = false;
};

// Labels as Windows-1250 bytes.
const std::string kCardLabel =
    "Numer u\xBF"
    "ytej karty";
const std::string kTitleLabel = "Tytu\xB3 operacji";
const std::string kChargeLabel =
    "Kwota obci\xB9\xBF"
    "enia";
}  // namespace

bool ReadOperationDetails(std::string page, ScrapedOperation& operation, const std::string& sign) {
    Latin2ToCp1250(page);
    RemoveAll(page, "&shy;");
    RemoveAll(page, "<wbr />");
    RemoveAll(page, "<wbr/>");
    DetailsFields field(page);

    operation.operationDate = field("<label class=\"label\">Data operacji");
    if (operation.operationDate.size() < 4) {
        operation.operationDate = field("Data transakcji");
    }
    operation.postingDate = field("gowania");
    operation.number = field("Numer operacji");
    operation.cardNumber = field(kCardLabel);
    operation.place = field("Miejsce transakcji");
    operation.kindText = field("Rodzaj operacji");
    if (operation.kindText.size() < 2) {
        operation.kindText = field("Rodzaj transakcji");
    }
    const bool out = sign == "-";
    operation.account = field(out ? "Rachunek odbiorcy" : "Rachunek nadawcy");
    operation.name = field(out ? "i nazwisko odbiorcy" : "nazwisko nadawcy");
    operation.title = field(kTitleLabel);
    operation.amount = field("Kwota operacji", kAmountSpan, "</span>");
    if (operation.amount.size() < 2) {
        operation.amount = field(kChargeLabel, kAmountSpan, "</span>");
    }

    operation.amount = sign + operation.amount;
    operation.direction = out ? 0 : 1;
    RemoveAll(operation.operationDate, " ");
    RemoveAll(operation.postingDate, " ");
    RemoveAll(operation.account, " ");
    CollapseSpaces(operation.name);
    CollapseSpaces(operation.title);
    ClassifyOperation(operation);
    return field.anyLabel();
}
