// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormBody.h"

#include <sstream>

namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}
}  // namespace

FormBody::FormBody(const std::string& body) {
    std::istringstream stream(body);
    std::string pair;
    while (std::getline(stream, pair, '&')) {
        const size_t equals = pair.find('=');
        if (equals == std::string::npos) {
            m_fields.emplace_back(Decode(pair), std::string());
        } else {
            m_fields.emplace_back(Decode(pair.substr(0, equals)), Decode(pair.substr(equals + 1)));
        }
    }
}

std::string FormBody::Decode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out.push_back(' ');
        } else if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
                   hexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string FormBody::value(const std::string& name) const {
    for (const auto& [key, value] : m_fields) {
        if (key == name) {
            return value;
        }
    }
    return {};
}

bool FormBody::has(const std::string& name) const {
    for (const auto& field : m_fields) {
        if (field.first == name) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> FormBody::names() const {
    std::vector<std::string> names;
    for (const auto& field : m_fields) {
        names.push_back(field.first);
    }
    return names;
}
