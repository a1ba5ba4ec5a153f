// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ordered (name, value) list that every form post is built from. Order of first insertion is
// kept and names are unique, so the encoded body lists the fields in the order they were set.

#include <string>
#include <utility>
#include <vector>

class FormFields {
public:
    using Pair = std::pair<std::string, std::string>;

    void set(const std::string& name, const std::string& value);
    std::string get(const std::string& name) const;
    void clear() { m_pairs.clear(); }
    size_t size() const { return m_pairs.size(); }
    std::vector<Pair>& pairs() { return m_pairs; }
    const std::vector<Pair>& pairs() const { return m_pairs; }

private:
    std::vector<Pair> m_pairs;
};

void SetField(FormFields& fields, const std::string& name, const std::string& value);
std::string GetField(const FormFields& fields, const std::string& name);

// application/x-www-form-urlencoded body; trims the stored values as it goes.
std::string EncodeForm(FormFields& fields);
std::string UrlEncodeValue(const std::string& text);
