// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pages shaped like the bank's: an operation list page and a details page (ISO-8859-2 letters).

#include <string>

inline const std::string kSampleListPage =
    "<html><head><title>Historia</title></head><body>\n"
    "<form name=\"MainForm\" method=\"post\" action=\"/account_oper_list.aspx\">\n"
    "<input type=\"hidden\" name=\"__STATE\" value=\"ST-2\" />\n"
    "<input type=\"hidden\" name=\"__EVENTVALIDATION\" value=\"EV-2\" />\n"
    "<ul class=\"list\">\n"
    "<li class=\"header\"><p class=\"Amount\">Saldo</p></li>\n"
    "<li class=\"item\"><a onclick=\"doSubmit('/account_oper_details.aspx','','POST','P-101',1)\" "
    "href=\"#\">\n 05-03-2010 Przelew</a><p class=\"negative\">-1 234,56</p></li>\n"
    "<li class=\"item\"><a onclick=\"doSubmit('/account_oper_details.aspx','','POST','P-102',1)\" "
    "href=\"#\">\n 04-03-2010 Wplata</a><p class=\"positive\">100,00</p></li>\n"
    "<li class=\"note\">no link here</li>\n"
    "<li class=\"item\"><a onclick=\"doSubmit('/account_oper_details.aspx','','POST','P-103',1)\" "
    "href=\"#\">\n 03-03-2010 Karta</a><p class=\"negative\">-5,00</p></li>\n"
    "</ul>\n"
    "<button id=\"PrevPage\" onclick=\"doSubmit('/account_oper_list.aspx','','POST','PAGE-2',1)\">"
    "Poprzednie&nbsp;operacje</button>\n"
    "</form></body></html>\n";

inline const std::string kSampleDetailsPage =
    "<html><body><form name=\"MainForm\" method=\"post\">"
    "<input type=\"hidden\" name=\"__STATE\" value=\"ST-3\" />"
    "<div><label class=\"label\">Data operacji</label><div class=\"content\">05-03-2010</div></div>"
    "<div><label class=\"label\">Data ksi\xEAgowania</label><div class=\"content\">06-03-2010</div>"
    "</div>"
    "<div><label class=\"label\">Numer operacji</label><div class=\"content\">123456</div></div>"
    "<div><label class=\"label\">Rodzaj operacji</label><div class=\"content\">PRZELEW "
    "WYCHODZ\xA1"
    "CY</div></div>"
    "<div><label class=\"label\">Rachunek odbiorcy</label><div class=\"content\">12 3456 7890 1234 "
    "5678 9012 3456</div></div>"
    "<div><label class=\"label\">Imi\xEA i nazwisko odbiorcy</label><div class=\"content\">Jan  "
    "Kowal&shy;ski\xA0 \xA6wi\xEAty</div></div>"
    "<div><label class=\"label\">Tytu\xB3 operacji</label><div class=\"content\">Za "
    "czynsz<wbr /> marzec</div></div>"
    "<div><label class=\"label\">Kwota operacji</label><div class=\"content\"><span id=\"_label\" "
    "class=\"text amount\">1&nbsp;234,56</span> PLN</div></div>"
    "</form></body></html>";
