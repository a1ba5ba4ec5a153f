// SPDX-License-Identifier: GPL-3.0-or-later
// Any page through the form reader: fields come only from the page, names are never empty and
// never hold "=", and the form's inputs can always be posted back.
#include <cstdint>
#include <set>
#include <string>

#include "FormFields.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "HtmlScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // First piece: the form name (usually "MainForm" in the corpus), second: the page.
    const auto pieces = SplitInput(data, size, 2);
    const std::string& formName = pieces[0];
    const std::string& page = pieces[1];

    FormFields fields;
    fields.set("__kept", "before");
    ReadForm(fields, formName, page);

    FUZZ_CHECK(fields.size() <= 1 + 1024, "at most 1024 inputs are read");
    std::set<std::string> names;
    for (const auto& [name, value] : fields.pairs()) {
        FUZZ_CHECK(names.insert(name).second, "names are unique");
        if (name == "__kept") {
            continue;
        }
        FUZZ_CHECK(!name.empty(), "no empty name");
        FUZZ_CHECK(name.find('=') == std::string::npos, "no name with '='");
        FUZZ_CHECK(page.find(name) != std::string::npos, "names come from the page");
        FUZZ_CHECK(value.size() == 1 || page.find(value) != std::string::npos,
                   "values come from the page or are one decoded character");
    }
    if (page.find("__kept") == std::string::npos) {
        FUZZ_CHECK(fields.get("__kept") == "before", "fields not in the form stay");
    }
    const std::string body = EncodeForm(fields);
    FUZZ_CHECK(body.find(' ') == std::string::npos || fields.size() > 1, "no raw space in a value");
    return 0;
}
