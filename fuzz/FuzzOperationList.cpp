// SPDX-License-Identifier: GPL-3.0-or-later
// Any page as an operation list: every link found points at a details page and carries a sign.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "HtmlScanner.h"
#include "OperationList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    std::vector<OperationLink> links;
    const bool older = ReadOperationList(page, links);
    FUZZ_CHECK(older == (page.find("Poprzednie&nbsp;operacje") != std::string::npos),
               "older pages are announced by the link text");
    for (const OperationLink& link : links) {
        FUZZ_CHECK(link.sign.empty() || link.sign == "-", "sign is empty or '-'");
        FUZZ_CHECK(link.path.rfind("/account_oper_details", 0) == 0, "a details path");
        FUZZ_CHECK(link.path.find('\'') == std::string::npos, "the path ends at its quote");
        FUZZ_CHECK(link.parameters.find('\'') == std::string::npos, "parameters unquoted");
    }
    const std::string previous = ReadPrevPageParameters(page);
    FUZZ_CHECK(previous.size() <= page.size(), "parameters are cut from the page");
    return 0;
}
