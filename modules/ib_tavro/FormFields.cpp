// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormFields.h"

#include <cstdio>

void FormFields::set(const std::string& name, const std::string& value) {
    for (Pair& pair : m_pairs) {
        if (pair.first == name) {
            pair.second = value;
            return;
        }
    }
    m_pairs.emplace_back(name, value);
}

std::string FormFields::get(const std::string& name) const {
    for (const Pair& pair : m_pairs) {
        if (pair.first == name) {
            return pair.second;
        }
    }
    return {};
}

void SetField(FormFields& fields, const std::string& name, const std::string& value) {
    fields.set(name, value);
}

std::string GetField(const FormFields& fields, const std::string& name) {
    return fields.get(name);
}

namespace {
void trimRight(std::string& text) {
    const size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
}

void trimLeft(std::string& text) {
    const size_t begin = text.find_first_not_of(' ');
    text.erase(0, begin == std::string::npos ? text.size() : begin);
}

bool isUnreserved(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
           c == '.' || c == '_';
}
}  // namespace

std::string EncodeForm(FormFields& fields) {
    std::string body;
    for (FormFields::Pair& pair : fields.pairs()) {
        trimRight(pair.second);
        if (pair.first.empty()) {
            continue;
        }
        trimLeft(pair.second);
        body += pair.first;
        body += '=';
        body += UrlEncodeValue(pair.second);
        body += '&';
    }
    if (!body.empty()) {
        body.pop_back();
    }
    return body;
}

std::string UrlEncodeValue(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (isUnreserved(c)) {
            out += ch;
        } else if (c == ' ') {
            out += '+';
        } else {
            char hex[4];
            std::snprintf(hex, sizeof(hex), "%%%02x", c);
            out += hex;
        }
    }
    return out;
}
