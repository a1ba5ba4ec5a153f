// SPDX-License-Identifier: GPL-3.0-or-later
#include "SiteForm.h"

#include <algorithm>

namespace {
// The three state fields every form carries first.
#define STATE_FIELDS                                                \
    {"__PARAMETERS", "hidden", ""}, {"__STATE", "hidden", nullptr}, \
        {"__VIEWSTATE", "hidden", nullptr}, {                       \
        "__EVENTVALIDATION", "hidden", nullptr, true                \
    }

std::string hiddenValue(const std::string& name, const HiddenState& hidden) {
    if (name == "__STATE") {
        return hidden.state;
    }
    if (name == "__VIEWSTATE") {
        return hidden.viewState;
    }
    return hidden.eventValidation;
}

std::string renderInput(const FormInput& input, const HiddenState& hidden) {
    const char q = input.singleQuotes ? '\'' : '"';
    std::string html = "<input type=" + std::string(1, q) + input.type + q;
    if (input.name != nullptr) {
        html += std::string(" name=") + q + input.name + q + " id=" + q + input.name + q;
    } else {
        html += std::string(" id=") + q + "rememberMe" + q;
    }
    const std::string value =
        input.value != nullptr ? input.value : hiddenValue(input.name, hidden);
    html += std::string(" value=") + q + value + q;
    if (std::string(input.type) == "radio" && (value == "lastdays_radio" || value == "ALL")) {
        html += " checked=\"checked\"";
    }
    return html + " />";
}
}  // namespace

const std::vector<FormInput>& SiteForm::Logon() {
    static const std::vector<FormInput> inputs = {
        STATE_FIELDS,
        {"customer", "text", ""},
        {"password", "password", ""},
        {nullptr, "checkbox", "1"},
        {"logonButton", "submit", "Zaloguj"},
    };
    return inputs;
}

const std::vector<FormInput>& SiteForm::Accounts() {
    static const std::vector<FormInput> inputs = {STATE_FIELDS, {"sSeparator", "hidden", "&#039;"}};
    return inputs;
}

const std::vector<FormInput>& SiteForm::Account() {
    static const std::vector<FormInput> inputs = {
        STATE_FIELDS, {"sCounter", "hidden", "1"}, {"accountView", "hidden", "summary"}};
    return inputs;
}

const std::vector<FormInput>& SiteForm::List() {
    static const std::vector<FormInput> inputs = {
        STATE_FIELDS,
        {"rangepanel_group", "radio", "lastdays_radio"},
        {"lastdays_days", "text", "30"},
        {"rangepanel_group", "radio", "dates_radio"},
        {"dates_from", "text", ""},
        {"dates_to", "text", ""},
        {"accoperlist_typefilter_group", "radio", "ALL"},
        {"accoperlist_typefilter_group", "radio", "IN"},
        {"accoperlist_typefilter_group", "radio", "OUT"},
        {"accoperlist_amountfilter_amountmin", "text", ""},
        {"accoperlist_amountfilter_amountmax", "text", ""},
        {"export_oper_history_format", "radio", "PDF"},
        {"export_oper_history_format", "radio", "CSV"},
        {"sCounter", "hidden", "2"},
        {"searchButton", "submit", "Pokaż"},
    };
    return inputs;
}

const std::vector<std::string>& SiteForm::ListRequest() {
    static const std::vector<std::string> names = {"__PARAMETERS",
                                                   "__STATE",
                                                   "__VIEWSTATE",
                                                   "__EVENTVALIDATION",
                                                   "rangepanel_group",
                                                   "lastdays_days",
                                                   "lastdays_period",
                                                   "accoperlist_typefilter_group",
                                                   "accoperlist_amountfilter_amountmin",
                                                   "accoperlist_amountfilter_amountmax",
                                                   "export_oper_history_format"};
    return names;
}

std::vector<std::string> SiteForm::Names(const std::vector<FormInput>& inputs) {
    std::vector<std::string> names;
    for (const FormInput& input : inputs) {
        if (input.name != nullptr) {
            names = Merge(std::move(names), {input.name});
        }
    }
    return names;
}

std::vector<std::string> SiteForm::Merge(std::vector<std::string> first,
                                         const std::vector<std::string>& second) {
    for (const std::string& name : second) {
        if (std::find(first.begin(), first.end(), name) == first.end()) {
            first.push_back(name);
        }
    }
    return first;
}

std::string SiteForm::Render(const std::vector<FormInput>& inputs, const HiddenState& hidden,
                             const std::string& action, const std::string& extraMarkup) {
    std::string html =
        "<form name=\"MainForm\" id=\"MainForm\" method=\"post\" action=\"" + action + "\">\r\n";
    for (const FormInput& input : inputs) {
        html += '\t';
        html += renderInput(input, hidden);
        html += "\r\n";
    }
    return html + extraMarkup + "</form>\r\n";
}
