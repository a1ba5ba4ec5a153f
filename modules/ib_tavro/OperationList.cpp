// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationList.h"

#include "HtmlScanner.h"

namespace {
constexpr size_t npos = std::string::npos;
const std::string kBalanceRow = "<p class=\"Amount\">Saldo</p></li>";
const std::string kLinkMarker = "href=\"#\">";
const std::string kDetailsCall = "doSubmit('/account_oper_details";
const std::string kPrevPageCall =
    "<button id=\"PrevPage\" onclick=\"doSubmit('/account_oper_list.aspx','','POST','";

std::string detailsPath(const std::string& item) {
    const size_t f = item.find(kDetailsCall);
    if (f == npos) {
        return {};
    }
    const size_t q = item.find('\'', f + 14);
    if (q == npos) {
        return {};
    }
    return item.substr(f + 10, q - f - 10);
}

// Calls `take` with each item of the page, from the one after the balance row on.
template <typename Take>
void forEachItem(const std::string& page, Take take) {
    const size_t balance = page.find(kBalanceRow);
    size_t s = balance == npos ? 0 : balance + 1;
    while (s < page.size()) {
        const size_t b = page.find("<li", s);
        if (b == npos) {
            break;
        }
        const size_t e = page.find("</li", b);
        if (e == npos) {
            break;
        }
        s = e + 2;
        if (!take(page.substr(b, e - b))) {
            break;
        }
    }
}

void removeOnclickArguments(std::string& item) {
    static const std::string kOnclick = "onclick=\"";
    for (size_t at = item.find(kOnclick); at != npos; at = item.find(kOnclick, at + 1)) {
        const size_t from = at + kOnclick.size();
        const size_t end = item.find('"', from);
        item.erase(from, end == npos ? npos : end - from);
    }
}
}  // namespace

bool ReadOperationList(const std::string& page, std::vector<OperationLink>& links) {
    forEachItem(page, [&links](const std::string& item) {
        const size_t c = item.find(kLinkMarker);
        if (c == npos) {
            return true;
        }
        const std::string key = c + 10 < item.size() ? item.substr(c + 10, 10) : std::string();
        std::vector<std::string> args;
        if (!ReadOnclickArguments(item, key, args) || args.size() < 4) {
            return false;
        }
        OperationLink link;
        link.parameters = args[3];
        if (Contains(item, "class=\"negative\"")) {
            link.sign.assign(1, '-');
        }
        link.path = detailsPath(item);
        if (link.path.size() > 6) {
            links.push_back(std::move(link));
        }
        return true;
    });
    return Contains(page, "Poprzednie&nbsp;operacje");
}

std::string ListPageFingerprint(const std::string& page) {
    std::string fingerprint;
    forEachItem(page, [&fingerprint](std::string item) {
        removeOnclickArguments(item);
        fingerprint += item;
        fingerprint += '\n';
        return true;
    });
    return fingerprint;
}

std::string ReadPrevPageParameters(const std::string& page) {
    // Without the button the parameters are read from where its argument would begin.
    const size_t a = page.find(kPrevPageCall);
    const size_t start = a == npos ? kPrevPageCall.size() - 1 : a + kPrevPageCall.size();
    if (start >= page.size()) {
        return {};
    }
    const size_t e = page.find('\'', start);
    return page.substr(start, e == npos ? npos : e - start);
}
