// SPDX-License-Identifier: GPL-3.0-or-later
// Any page as a details page, then classified, cleaned and delivered as the module does: the
// record that reaches the host is always complete and within its limits.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "HtmlScanner.h"
#include "ModuleInterface.h"
#include "OperationDelivery.h"
#include "OperationDetails.h"

namespace {

int32_t checkRecord(HostContext* context, const OperationRecord* r) {
    FUZZ_CHECK(r->size == static_cast<int32_t>(sizeof(OperationRecord)), "record size");
    FUZZ_CHECK(r->kind >= 0 && r->kind <= 22, "kind 0..22");
    FUZZ_CHECK(r->direction == 0 || r->direction == 1, "direction 0 or 1");
    FUZZ_CHECK(
        r->kindText && r->amountText && r->counterpartyAccount && r->counterpartyName && r->title,
        "every text is there");
    FUZZ_CHECK(std::strlen(r->title) <= 139 && std::strlen(r->counterpartyName) <= 139,
               "title and name within 139 bytes");
    FUZZ_CHECK(std::strlen(r->counterpartyAccount) <= 27, "account within 27 bytes");
    // A title may still carry quotes when the kind text stands in for it; harmless, since every
    // value reaches the database as a bound parameter.
    FUZZ_CHECK(!std::strchr(r->counterpartyName, '"'), "no double quotes in the name");
    FUZZ_CHECK(std::isfinite(r->amount), "a finite amount");
    FUZZ_CHECK(r->direction == 1 || r->amount <= 0, "money out is never positive");
    FUZZ_CHECK(ReadAmount(r->amountText) == r->amount, "the amount text gives the amount");
    ++context->newCount;
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the list's sign; the rest is the page.
    const std::string sign = (data[0] & 1) ? "-" : "";
    const std::string page(reinterpret_cast<const char*>(data + 1), size - 1);

    ScrapedOperation operation;
    ReadOperationDetails(page, operation, sign);
    FUZZ_CHECK(operation.kind >= 0 && operation.kind <= 22, "classified kind 0..22");

    FUZZ_CHECK(!DiagnosticText(operation).empty(), "a diagnostic text");
    std::vector<ScrapedOperation> operations{operation};
    HistoryQuery query{};
    query.size = sizeof(HistoryQuery);
    query.onOperation = checkRecord;
    DeliverOperations(operations, query);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "Europe/Warsaw", 0);
    tzset();
    return 0;
}
