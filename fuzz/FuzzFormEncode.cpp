// SPDX-License-Identifier: GPL-3.0-or-later
// Any fields through the form encoder: the body holds only safe characters and decodes back to
// the trimmed values, in the order the fields were set.
#include <cstdint>
#include <string>
#include <vector>

#include "FormFields.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string urlDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%') {
            FUZZ_CHECK(i + 2 < text.size(), "a whole escape");
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            FUZZ_CHECK(high >= 0 && low >= 0, "two hex digits");
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string trimmed(const std::string& text) {
    const size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

bool safeNameChar(char c) {
    return c != '&' && c != '=';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto pieces = SplitInput(data, size, 8);

    const std::string encoded = UrlEncodeValue(pieces[0]);
    for (char c : encoded) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                           (c >= 'a' && c <= 'z') || c == '-' || c == '.' || c == '_' || c == '+' ||
                           c == '%';
        FUZZ_CHECK(plain, "only unreserved characters, '+' and escapes");
    }
    FUZZ_CHECK(urlDecode(encoded) == pieces[0], "a value decodes back");

    // Names come from the bank's forms and never hold '&' or '='; they are posted as they are.
    FormFields fields;
    std::vector<std::pair<std::string, std::string>> expected;
    for (size_t i = 0; i + 1 < pieces.size(); i += 2) {
        std::string name;
        for (char c : pieces[i]) {
            if (safeNameChar(c)) {
                name += c;
            }
        }
        fields.set(name, pieces[i + 1]);
    }
    for (const auto& [name, value] : fields.pairs()) {
        if (!name.empty()) {
            expected.emplace_back(name, trimmed(value));
        }
    }
    const std::string body = EncodeForm(fields);
    std::vector<std::pair<std::string, std::string>> decoded;
    size_t from = 0;
    while (!body.empty() && from <= body.size()) {
        size_t amp = body.find('&', from);
        if (amp == std::string::npos) {
            amp = body.size();
        }
        const std::string pair = body.substr(from, amp - from);
        const size_t eq = pair.find('=');
        FUZZ_CHECK(eq != std::string::npos, "every pair has '='");
        decoded.emplace_back(pair.substr(0, eq), urlDecode(pair.substr(eq + 1)));
        from = amp + 1;
    }
    FUZZ_CHECK(decoded == expected, "the body decodes to the fields, in order");
    return 0;
}
