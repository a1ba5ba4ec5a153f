// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageRenderer.h"

#include "OperationMarkup.h"

namespace {
std::string page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\">\r\n"
           "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
           "charset=iso-8859-2\" />\r\n<title>Tavro Bank - " +
           title +
           "</title>\r\n"
           "<script type=\"text/javascript\">function doSubmit(target, frame, verb, params, "
           "mode) { var f = document.forms['MainForm']; f.__PARAMETERS.value = params; "
           "f.action = target; f.submit(); }</script>\r\n</head>\r\n<body>\r\n"
           "<div id=\"header\"><form name=\"SearchForm\" method=\"get\" action=\"/szukaj.aspx\">"
           "<input type=\"text\" name=\"q\" value=\"Szukaj w serwisie\" /></form></div>\r\n"
           "<ul id=\"menu\"><li><a href=\"/accounts_list.aspx\">Rachunki</a></li>"
           "<li><a href=\"/pomoc.aspx\">Pomoc i kontakt</a></li></ul>\r\n" +
           body +
           "<div id=\"footer\"><ul><li><a href=\"/bezpieczenstwo.aspx\">Bezpieczeństwo</a></li>"
           "<li><a href=\"/cennik.aspx\">Taryfa opłat i prowizji</a></li></ul></div>\r\n"
           "</body></html>\r\n";
}
}  // namespace

std::string PageRenderer::Balance(const BankAccount& account) {
    int64_t balance = 1000000;
    for (const BankOperation& op : account.operations) {
        balance += op.negative ? -op.grosze : op.grosze;
    }
    const std::string sign = balance < 0 ? "-" : "";
    return sign + OperationMarkup::FormatAmount(balance < 0 ? -balance : balance, "&nbsp;") +
           "&nbsp;PLN";
}

std::string PageRenderer::Logon(const HiddenState& hidden, const std::string& message) {
    std::string body = "<h1>Logowanie do serwisu</h1>\r\n";
    if (!message.empty()) {
        body += "<p class=\"error\">" + message + "</p>\r\n";
    }
    body += SiteForm::Render(SiteForm::Logon(), hidden, "/logon.aspx",
                             "<label for=\"rememberMe\">Zapamiętaj identyfikator</label>\r\n");
    return page("Logowanie", body);
}

std::string PageRenderer::Welcome(const std::string& user) {
    return page("Start",
                "<h1>Witamy w serwisie transakcyjnym</h1><p>Zalogowany użytkownik: " + user +
                    "</p><p><a href=\"/accounts_list.aspx\">Przejdź do "
                    "rachunków</a></p>\r\n");
}

std::string PageRenderer::Accounts(const HiddenState& hidden,
                                   const std::vector<BankAccount>& accounts,
                                   const std::vector<std::string>& tokens, bool loggedOn,
                                   const std::string& target) {
    std::string table;
    if (!loggedOn) {
        table =
            "<p class=\"error\">Sesja wygasła lub nie zalogowano. Zaloguj się ponownie.</p>\r\n";
    } else {
        table =
            "<table class=\"accounts\"><tr><th>Numer rachunku</th><th>Nazwa</th>"
            "<th>Dostępne środki</th></tr>\r\n";
        for (size_t i = 0; i < accounts.size(); ++i) {
            table += "<tr><td><a class=\"account\" onclick=\"doSubmit('" + target +
                     "','','POST','" + tokens[i] + "',1);return false;\" href=\"#\">" +
                     OperationMarkup::DisplayNrb(accounts[i].nrb) + "</a></td><td>" +
                     accounts[i].name + "</td><td class=\"amount\">" + Balance(accounts[i]) +
                     "</td></tr>\r\n";
        }
        table += "</table>\r\n";
    }
    return page("Rachunki",
                "<h1>Twoje rachunki</h1>\r\n" +
                    SiteForm::Render(SiteForm::Accounts(), hidden, "/accounts_list.aspx", table));
}

std::string PageRenderer::Account(const HiddenState& hidden, const BankAccount& account) {
    const std::string summary = "<dl class=\"summary\"><dt>Numer rachunku</dt><dd>" +
                                OperationMarkup::DisplayNrb(account.nrb) +
                                "</dd><dt>Nazwa</dt>"
                                "<dd>" +
                                account.name + "</dd><dt>Saldo</dt><dd>" + Balance(account) +
                                "</dd></dl>\r\n";
    return page("Szczegóły rachunku", "<h1>Szczegóły rachunku</h1>\r\n" +
                                          SiteForm::Render(SiteForm::Account(), hidden,
                                                           "/account_oper_list.aspx", summary));
}

std::string PageRenderer::List(const HiddenState& hidden, const ListPageContent& content) {
    std::string items = "<ul class=\"operations\">\r\n<li class=\"saldo\"><p class=\"Value\">" +
                        Balance(*content.account) + "</p><p class=\"Amount\">Saldo</p></li>\r\n";
    for (const ListedOperation& listed : content.operations) {
        items += OperationMarkup(*listed.operation, *content.account).listItem(listed.parameters);
    }
    if (content.operations.empty()) {
        items += "<li class=\"empty\">Brak operacji w wybranym okresie.</li>\r\n";
    }
    items += "</ul>\r\n";
    if (!content.olderParameters.empty()) {
        items +=
            "<button id=\"PrevPage\" onclick=\"doSubmit('/account_oper_list.aspx','','POST','" +
            content.olderParameters + "',1);return false;\">Poprzednie&nbsp;operacje</button>\r\n";
    }
    const std::string filter =
        "<select name=\"lastdays_period\"><option value=\"D\">dni</option>"
        "<option value=\"M\">miesięcy</option></select>\r\n";
    const std::string heading = "<h1>Historia operacji</h1>\r\n<p class=\"period\">Rachunek " +
                                OperationMarkup::DisplayNrb(content.account->nrb) + ", " +
                                content.periodText + ", strona " + std::to_string(content.page) +
                                "</p>\r\n";
    return page("Historia operacji",
                heading + SiteForm::Render(SiteForm::List(), hidden, "/account_oper_list.aspx",
                                           filter + items));
}

std::string PageRenderer::Details(const BankOperation& operation, const BankAccount& account) {
    return page("Szczegóły operacji", OperationMarkup(operation, account).detailsPage());
}

std::string PageRenderer::Error(const std::string& message) {
    return page("Błąd", "<h1>Wystąpił błąd</h1><p class=\"error\">" + message + "</p>\r\n");
}
