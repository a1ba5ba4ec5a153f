// SPDX-License-Identifier: GPL-3.0-or-later
// Any text and key through the onclick splitter: it never reads outside the text, leaves the
// list alone when it answers false, and no argument keeps an apostrophe.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "HtmlScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto pieces = SplitInput(data, size, 2);
    const std::string& key = pieces[0];
    const std::string& text = pieces[1];

    std::vector<std::string> arguments{"untouched"};
    const bool found = ReadOnclickArguments(text, key, arguments);
    if (!found) {
        FUZZ_CHECK(arguments.size() == 1 && arguments[0] == "untouched",
                   "a failed search leaves the list");
        return 0;
    }
    FUZZ_CHECK(text.find(key) != std::string::npos, "true only when the key is there");
    size_t total = 0;
    for (const std::string& argument : arguments) {
        FUZZ_CHECK(argument.find('\'') == std::string::npos, "apostrophes are removed");
        total += argument.size();
    }
    FUZZ_CHECK(total <= text.size(), "arguments are cut from the text");
    return 0;
}
