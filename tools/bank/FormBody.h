// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A posted application/x-www-form-urlencoded body, with its fields in the order they were sent.

#include <string>
#include <utility>
#include <vector>

class FormBody {
public:
    explicit FormBody(const std::string& body);

    // The decoded value of the first field with this name, or empty.
    std::string value(const std::string& name) const;
    bool has(const std::string& name) const;
    std::vector<std::string> names() const;

    static std::string Decode(const std::string& text);

private:
    std::vector<std::pair<std::string, std::string>> m_fields;
};
