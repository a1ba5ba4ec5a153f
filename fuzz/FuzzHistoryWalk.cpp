// SPDX-License-Identifier: GPL-3.0-or-later
// The whole download of one log-on, from the log-on page to the delivery of the operations, over
// arbitrary pages in place of the bank (NUL bytes separate them). The pages repeat when they run
// out, so a walk that would never end shows as a hang (-timeout) or as the request bound.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzPageFeed.h"
#include "HistoryDownload.h"
#include "ModuleConfig.h"

namespace {

constexpr size_t kMaxPages = 64;
int32_t g_delivered = 0;

int32_t onOperation(HostContext*, const OperationRecord* record) {
    FUZZ_CHECK(record != nullptr && record->size == sizeof(OperationRecord), "a whole record");
    FUZZ_CHECK(record->kindText != nullptr && record->amountText != nullptr &&
                   record->counterpartyAccount != nullptr && record->counterpartyName != nullptr &&
                   record->title != nullptr,
               "every text is there");
    FUZZ_CHECK(record->tid != 0, "an operation without its number is never delivered");
    FUZZ_CHECK(std::strlen(record->title) < 140, "titles are cut to 139 characters");
    ++g_delivered;
    return 0;
}

std::vector<std::string> pagesOf(const uint8_t* data, size_t size) {
    std::vector<std::string> pages = SplitInput(data, size, kMaxPages);
    while (pages.size() > 1 && pages.back().empty()) {
        pages.pop_back();
    }
    return pages;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzPageFeed::serve(pagesOf(data, size));
    const char16_t* accounts[] = {u"98199000030010594833119289", u"54199000030011450712091431"};
    HistoryQuery query{};
    query.size = sizeof(HistoryQuery);
    query.user = u"demo";
    query.password = u"demo1234";
    query.accounts = accounts;
    query.accountCount = 2;
    query.onOperation = onOperation;
    query.days = 60;
    g_delivered = 0;
    const int32_t result = HistoryDownload(query, ModuleConfig{}).run();
    FUZZ_CHECK(FuzzPageFeed::requests() < FuzzPageFeed::kMaxRequests, "the walk ends by itself");
    FUZZ_CHECK(result <= 0, "a result code");
    FUZZ_CHECK(static_cast<size_t>(g_delivered) <= FuzzPageFeed::requests(),
               "no operation without its details page");
    return 0;
}
