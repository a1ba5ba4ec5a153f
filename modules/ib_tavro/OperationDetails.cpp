#include "OperationDetails.h"

#include "HtmlScanner.h"

namespace {
const std::string kContent = "</label><div class=\"content\">";
const std::string kAmountSpan = "<span id=\"_label\" class=\"text amount\">";

// The text after "<label>...</label><div class="content">" (and `prefix`) up to `end`.
std::string field(const std::string& page, const std::string& label, const std::string& prefix = "",
                  const char* end = "</div>") {
    std::string value;
    ExtractBetween(page, label + kContent + prefix, end, value, 0);
    return value;
}

// Labels as Windows-1250 bytes.
const std::string kCardLabel =
    "Numer u\xBF"
    "ytej karty";
const std::string kTitleLabel = "Tytu\xB3 operacji";
const std::string kChargeLabel =
    "Kwota obci\xB9\xBF"
    "enia";
}  // namespace

void ReadOperationDetails(std::string page, ScrapedOperation& operation, const std::string& sign) {
    Latin2ToCp1250(page);
    RemoveAll(page, "&shy;");
    RemoveAll(page, "<wbr />");
    RemoveAll(page, "<wbr/>");

    operation.operationDate = field(page, "<label class=\"label\">Data operacji");
    if (operation.operationDate.size() < 4) {
        operation.operationDate = field(page, "Data transakcji");
    }
    operation.postingDate = field(page, "gowania");
    operation.number = field(page, "Numer operacji");
    operation.cardNumber = field(page, kCardLabel);
    operation.place = field(page, "Miejsce transakcji");
    operation.kindText = field(page, "Rodzaj operacji");
    if (operation.kindText.size() < 2) {
        operation.kindText = field(page, "Rodzaj transakcji");
    }
    const bool out = sign == "-";
    operation.account = field(page, out ? "Rachunek odbiorcy" : "Rachunek nadawcy");
    operation.name = field(page, out ? "i nazwisko odbiorcy" : "nazwisko nadawcy");
    operation.title = field(page, kTitleLabel);
    operation.amount = field(page, "Kwota operacji", kAmountSpan, "</span>");
    if (operation.amount.size() < 2) {
        operation.amount = field(page, kChargeLabel, kAmountSpan, "</span>");
    }

    operation.amount = sign + operation.amount;
    operation.direction = out ? 0 : 1;
    RemoveAll(operation.operationDate, " ");
    RemoveAll(operation.postingDate, " ");
    RemoveAll(operation.account, " ");
    CollapseSpaces(operation.name);
    CollapseSpaces(operation.title);
    ClassifyOperation(operation);
}
