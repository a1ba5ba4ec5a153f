// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationMarkup.h"

#include "CivilDate.h"
#include "HistoryTables.h"
#include "KindTable.h"

namespace {
bool asciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

OperationMarkup::OperationMarkup(const BankOperation& operation, const BankAccount& account)
    : m_op(operation), m_account(account), m_random(static_cast<uint32_t>(operation.tid)) {}

bool OperationMarkup::chance(int percent) {
    return static_cast<int>(m_random() % 100) < percent;
}

std::string OperationMarkup::FormatAmount(int64_t grosze, const std::string& separator) {
    std::string whole = std::to_string(grosze / 100);
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) {
        whole.insert(static_cast<size_t>(at), separator);
    }
    const int cents = static_cast<int>(grosze % 100);
    return whole + "," + char('0' + cents / 10) + char('0' + cents % 10);
}

std::string OperationMarkup::DisplayNrb(const std::string& nrb) {
    std::string text = nrb.substr(0, 2);
    for (size_t at = 2; at < nrb.size(); at += 4) {
        text += ' ';
        text += nrb.substr(at, 4);
    }
    return text;
}

// A soft hyphen inside one long ASCII-lettered word.
std::string OperationMarkup::softHyphens(const std::string& text) {
    if (!chance(40)) {
        return text;
    }
    for (size_t at = 3 + m_random() % 3; at + 3 < text.size(); ++at) {
        if (asciiLetter(text[at - 1]) && asciiLetter(text[at]) && asciiLetter(text[at + 1])) {
            return text.substr(0, at) + (chance(70) ? "&shy;" : "<wbr />") + text.substr(at);
        }
    }
    return text;
}

// A space doubled or made a hard space: the reader collapses both.
std::string OperationMarkup::looseSpaces(const std::string& text) {
    const size_t space = text.find(' ', m_random() % (text.size() + 1));
    if (space == std::string::npos || !chance(50)) {
        return text;
    }
    return text.substr(0, space) + (chance(50) ? "  " : "\xC2\xA0") + text.substr(space + 1);
}

std::string OperationMarkup::person(const std::string& text) {
    return replaceAll(softHyphens(looseSpaces(text)), "'", "&#x27;");
}

std::string OperationMarkup::accountNumber(const std::string& digits) {
    if (digits.size() != 26) {
        return digits;
    }
    const std::string grouped = DisplayNrb(digits);
    return chance(50) ? replaceAll(grouped, " ", chance(50) ? " <wbr />" : "<wbr/> ") : grouped;
}

std::string OperationMarkup::row(const std::string& label, const std::string& content) {
    const std::string gap = chance(50) ? "\r\n\t\t" : "";
    return "<div class=\"row\"><label class=\"label\">" + label + "</label>" + gap +
           "<div class=\"content\">" + content + "</div></div>\r\n";
}

std::string OperationMarkup::amountRow(const std::string& label) {
    static const char* const separators[] = {" ", "&nbsp;", "\xC2\xA0"};
    const std::string amount = FormatAmount(m_op.grosze, separators[m_random() % 3]);
    return row(label, "<span id=\"_label\" class=\"text amount\">" + amount +
                          (chance(50) ? "&nbsp;PLN" : " PLN") + "</span>");
}

std::string OperationMarkup::transferRows() {
    const std::string counterAccount = accountNumber(m_op.counterpartyAccount);
    const std::string counterName = person(m_op.counterpartyName);
    const std::string ownAccount = accountNumber(m_account.nrb);
    const bool out = m_op.negative;
    std::string html = row("Rodzaj ope&shy;racji", softHyphens(m_op.kindText));
    html += row("Rachunek nadawcy", out ? ownAccount : counterAccount);
    html += row("Imię i nazwisko nadawcy", out ? kOwner : counterName);
    html += row("Rachunek odbiorcy", out ? counterAccount : ownAccount);
    html += row("Imię i nazwisko odbiorcy", out ? counterName : kOwner);
    html += row("Tytuł operacji", person(m_op.title));
    return html + amountRow("Kwota operacji");
}

std::string OperationMarkup::cardRows() {
    std::string html = row("Rodzaj transakcji", m_op.kindText);
    html += row("Numer użytej karty", m_op.cardNumber);
    html += row("Miejsce transakcji", m_op.place);
    if (!m_op.title.empty()) {
        html += row("Tytuł operacji", person(m_op.title));
    }
    return html + amountRow(m_op.negative ? "Kwota obciążenia" : "Kwota operacji");
}

std::string OperationMarkup::detailsPage() {
    const bool card = KindTable::IsCard(m_op);
    const std::string day = CivilDate::Format(m_op.operationDay);
    std::string html = "<div class=\"operationDetails\">\r\n<h2>Szczegóły operacji</h2>\r\n";
    html += row(card ? "Data transakcji" : "Data operacji", chance(30) ? " " + day + " " : day);
    html += row("Data księgowania", CivilDate::Format(m_op.postingDay));
    html += row("Numer operacji", std::to_string(m_op.tid));
    html += card ? cardRows() : transferRows();
    return html + "</div>\r\n";
}

std::string OperationMarkup::listItem(const std::string& parameters) {
    const std::string text = m_op.title.empty() ? m_op.kindText : m_op.title;
    const std::string sign = m_op.negative ? "-" : "";
    std::string html =
        "<li class=\"operation\"><a onclick=\"doSubmit('/account_oper_details.aspx',"
        "'','POST','" +
        parameters + "',1);return false;\" href=\"#\">" + text + "</a>";
    html += "<p class=\"Date\">" + CivilDate::Format(m_op.operationDay) + "</p>";
    html += "<p class=\"Type\">" + m_op.kindText + "</p>";
    html += "<p class=\"Amount\"><span" + std::string(m_op.negative ? " class=\"negative\"" : "") +
            ">" + sign + FormatAmount(m_op.grosze, "&nbsp;") + "&nbsp;PLN</span></p></li>\r\n";
    return html;
}
