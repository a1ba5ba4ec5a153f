// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultPlan.h"

#include <stdexcept>

namespace {
long number(const std::string& text) {
    size_t used = 0;
    const long value = std::stol(text, &used);
    if (used != text.size() || value < 0) {
        throw std::invalid_argument(text);
    }
    return value;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}
}  // namespace

FaultRule FaultPlan::Parse(const std::string& ruleText) {
    const size_t colon = ruleText.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        throw std::invalid_argument("fault " + ruleText);
    }
    FaultRule rule;
    rule.path = ruleText.substr(0, colon);
    std::string kind = ruleText.substr(colon + 1);
    if (const size_t at = kind.find('@'); at != std::string::npos) {
        rule.after = static_cast<int>(number(kind.substr(at + 1)));
        kind.resize(at);
    }
    std::string value;
    if (const size_t equals = kind.find('='); equals != std::string::npos) {
        value = kind.substr(equals + 1);
        kind.resize(equals);
    }
    static const std::map<std::string, FaultKind> kinds = {
        {"status", FaultKind::Status},       {"reset", FaultKind::Reset},
        {"delay", FaultKind::Delay},         {"oversize", FaultKind::Oversize},
        {"nomarkers", FaultKind::NoMarkers}, {"nonumber", FaultKind::NoNumber},
        {"endless", FaultKind::Endless}};
    const auto found = kinds.find(kind);
    if (found == kinds.end()) {
        throw std::invalid_argument("fault kind " + kind);
    }
    rule.kind = found->second;
    rule.value = value.empty() ? (rule.kind == FaultKind::Oversize ? 12 : 0) : number(value);
    if (rule.kind == FaultKind::Status && (rule.value < 100 || rule.value > 599)) {
        throw std::invalid_argument("status " + value);
    }
    return rule;
}

void FaultPlan::add(const FaultRule& rule) {
    m_rules.push_back(rule);
}

std::vector<FaultRule> FaultPlan::onRequest(const std::string& path) {
    std::lock_guard lock(m_mutex);
    const int count = ++m_counts[path];
    std::vector<FaultRule> active;
    for (const FaultRule& rule : m_rules) {
        const bool within =
            rule.kind != FaultKind::NoNumber || rule.value == 0 || count <= rule.after + rule.value;
        if ((rule.path == path || rule.path == "*") && count > rule.after && within) {
            active.push_back(rule);
        }
    }
    return active;
}

// A site redesign as the module would meet it: the same content, other markup.
std::string FaultPlan::StripMarkers(std::string page) {
    static const std::pair<const char*, const char*> changes[] = {
        {"name=\"MainForm\"", "name=\"mainForm2\""},
        {"doSubmit(", "submitForm("},
        {"onclick=", "data-click="},
        {"href=\"#\">", "href=\"#\" >"},
        {"class=\"negative\"", "class=\"minus\""},
        {"<p class=\"Amount\">Saldo</p>", "<p class=\"Amount\">Saldo biezace</p>"},
        {"Poprzednie&nbsp;operacje", "Wcześniejsze"},
        {"<label class=\"label\">", "<span class=\"label\">"},
        {"</label>", "</span>"},
        {"<div class=\"content\">", "<div class=\"value\">"},
        {"id=\"PrevPage\"", "id=\"Older\""},
    };
    for (const auto& [from, to] : changes) {
        page = replaceAll(std::move(page), from, to);
    }
    return page;
}

// A details page that names no operation number, the rest of it unchanged.
std::string FaultPlan::StripNumber(std::string page) {
    const size_t label = page.find("<label class=\"label\">Numer operacji</label>");
    const size_t begin =
        label == std::string::npos ? label : page.rfind("<div class=\"row\">", label);
    const std::string rowEnd = "</div></div>\r\n";
    const size_t end = label == std::string::npos ? label : page.find(rowEnd, label);
    if (begin != std::string::npos && end != std::string::npos) {
        page.erase(begin, end + rowEnd.size() - begin);
    }
    return page;
}

// The padding goes before the content, so whatever reads only the first megabytes sees none of it.
std::string FaultPlan::Oversize(const std::string& page, long megabytes) {
    const size_t target = static_cast<size_t>(megabytes) * 1024 * 1024;
    const size_t body = page.find("<body>");
    const size_t at = body == std::string::npos ? 0 : body + 6;
    if (page.size() >= target) {
        return page;
    }
    std::string padding = "<!--";
    const std::string line = " wypelnienie strony, ktore nic nie znaczy\r\n";
    while (padding.size() + line.size() + 3 + page.size() < target) {
        padding += line;
    }
    padding += "-->";
    return page.substr(0, at) + padding + page.substr(at);
}
