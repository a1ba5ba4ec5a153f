// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "MainForm" of each page of the site, as data: the renderer writes the inputs from it and
// the site derives from it the field order that a client merging the forms must post.

#include <string>
#include <vector>

struct FormInput {
    const char* name;  // null: an input without a name attribute
    const char* type;
    const char* value;  // fixed value, or null for the page's hidden state
    bool singleQuotes = false;
};

struct HiddenState {
    std::string state;
    std::string viewState;
    std::string eventValidation;
};

class SiteForm {
public:
    static const std::vector<FormInput>& Logon();
    static const std::vector<FormInput>& Accounts();
    static const std::vector<FormInput>& Account();
    static const std::vector<FormInput>& List();
    // The fields of the operation-list request, in the order the client builds them.
    static const std::vector<std::string>& ListRequest();

    static std::vector<std::string> Names(const std::vector<FormInput>& inputs);
    // Names of `first` followed by the names of `second` not already there.
    static std::vector<std::string> Merge(std::vector<std::string> first,
                                          const std::vector<std::string>& second);
    static std::string Render(const std::vector<FormInput>& inputs, const HiddenState& hidden,
                              const std::string& action, const std::string& extraMarkup);
};
