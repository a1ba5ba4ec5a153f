// SPDX-License-Identifier: GPL-3.0-or-later
#include "BankSite.h"

#include <algorithm>
#include <sstream>

#include "CivilDate.h"
#include "PageRenderer.h"
#include "TextCodec.h"

namespace {
constexpr size_t kPageSize = 10;

std::map<std::string, std::string> parseCookies(const std::string& header) {
    std::map<std::string, std::string> cookies;
    std::istringstream stream(header);
    std::string pair;
    while (std::getline(stream, pair, ';')) {
        const size_t begin = pair.find_first_not_of(' ');
        const size_t equals = pair.find('=');
        if (begin != std::string::npos && equals != std::string::npos && equals > begin) {
            cookies[pair.substr(begin, equals - begin)] = pair.substr(equals + 1);
        }
    }
    return cookies;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ",") + name;
    }
    return text;
}

SiteReply pageReply(std::string html) {
    SiteReply reply;
    reply.html = std::move(html);
    return reply;
}

std::string cookie(const std::string& name, const std::string& value) {
    return name + "=" + value + "; path=/; secure; HttpOnly";
}
}  // namespace

BankSite::BankSite(BankData data, RequestLog& log, SiteStyle style)
    : m_data(std::move(data)), m_log(log), m_style(style), m_random(std::random_device{}()) {}

void BankSite::recordOnly(const LoggedRequest& request) {
    m_log.record(request);
}

SiteReply BankSite::handle(const LoggedRequest& request, bool endlessList) {
    const int number = m_log.record(request);
    std::lock_guard lock(m_mutex);
    Call call{number, request, FormBody(request.body), nullptr, parseCookies(request.cookie)};
    call.endlessList = endlessList;
    checkHeaders(call);
    if (request.path == "/" && request.method == "GET") {
        return logonPage(call);
    }
    const auto found = m_sessions.find(call.cookies[kSessionCookie]);
    if (found == m_sessions.end()) {
        violation(call, "no session cookie");
        return pageReply(PageRenderer::Error("Sesja wygasła. Zaloguj się ponownie."));
    }
    call.session = &found->second;
    return route(call);
}

SiteReply BankSite::route(Call& call) {
    // Like any web server, the site reads "//page" as "/page".
    std::string path = call.request.path;
    while (path.size() > 1 && path[0] == '/' && path[1] == '/') {
        path.erase(0, 1);
    }
    const bool post = call.request.method == "POST";
    struct Route {
        const char* path;
        bool post;
        SiteReply (BankSite::*handler)(Call&);
    };
    static const Route routes[] = {
        {"/logon.aspx", true, &BankSite::logon},
        {"/accounts_list.aspx", false, &BankSite::accounts},
        {"/account_details.aspx", true, &BankSite::account},
        {"/account_oper_list.aspx", true, &BankSite::list},
        {"/account_oper_details.aspx", true, &BankSite::details},
    };
    for (const Route& route : routes) {
        if (path == route.path && post == route.post) {
            return (this->*route.handler)(call);
        }
        if (path == route.path) {
            violation(call, "wrong method");
            SiteReply reply = pageReply(PageRenderer::Error("Niedozwolona metoda."));
            reply.status = 405;
            return reply;
        }
    }
    if (path == "/start.aspx" && !post) {
        return pageReply(PageRenderer::Welcome(m_data.user));
    }
    SiteReply reply = pageReply(PageRenderer::Error("Nie znaleziono strony."));
    reply.status = 404;
    return reply;
}

void BankSite::violation(Call& call, const std::string& reason) {
    m_log.violation(call.number, call.request, reason);
}

void BankSite::checkHeaders(Call& call) {
    const LoggedRequest& r = call.request;
    const bool post = r.method == "POST";
    // The module speaks HTTP/1.1 only and asks for no particular content type.
    if (r.version != "HTTP/1.1") {
        violation(call, "protocol " + r.version);
    }
    if (r.acceptSent) {
        violation(call, "Accept: " + r.accept);
    }
    if (r.userAgent != kUserAgent) {
        violation(call, "user agent: " + r.userAgent);
    }
    if (r.pragma != "no-cache") {
        violation(call, "Pragma: " + r.pragma);
    }
    if (post && r.contentType != "application/x-www-form-urlencoded") {
        violation(call, "Content-Type: " + r.contentType);
    }
    if (post && r.acceptContent != "*/*;") {
        violation(call, "Accept-Content: " + r.acceptContent);
    }
    // A redirect after the log-on post keeps the post's headers in some clients; only the
    // module's own GET requests must come without them.
    const bool redirected = r.path == "/start.aspx";
    if (!post && !redirected &&
        (!r.contentType.empty() || !r.acceptContent.empty() || !r.body.empty())) {
        violation(call, "GET with form headers or a body");
    }
    const bool first = r.path == "/" && !post;
    if (first && !r.referer.empty()) {
        violation(call, "first request with a referrer: " + r.referer);
    }
    if (!first && (r.referer.rfind("https://", 0) != 0 || r.referer.back() != '/' ||
                   r.referer.find('/', 8) != r.referer.size() - 1)) {
        violation(call, "referrer is not the base address: " + r.referer);
    }
}

bool BankSite::checkFields(Call& call, const std::vector<std::string>& expected) {
    const std::vector<std::string> names = call.form.names();
    if (names != expected) {
        violation(call, "fields " + joined(names) + " instead of " + joined(expected));
        return false;
    }
    return true;
}

bool BankSite::checkState(Call& call, bool eventValidation) {
    const HiddenState& hidden = call.session->hidden;
    bool ok = true;
    if (call.form.value("__STATE") != hidden.state) {
        violation(call, "__STATE is not the one of the last page");
        ok = false;
    }
    if (eventValidation && call.form.value("__EVENTVALIDATION") != hidden.eventValidation) {
        violation(call, "__EVENTVALIDATION is not the one of the last page");
        ok = false;
    }
    return ok;
}

bool BankSite::loggedOn(Call& call) {
    if (call.session->auth.empty()) {
        return false;
    }
    if (call.cookies[kAuthCookie] != call.session->auth) {
        violation(call, "log-on cookie missing");
        return false;
    }
    return true;
}

std::string BankSite::token(size_t length) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        text.push_back(alphabet[m_random() % 64]);
    }
    return text;
}

const HiddenState& BankSite::issueHidden(Session& session) {
    session.hidden.state = token(16);
    session.hidden.viewState = "/wEP" + token(60 + m_random() % 60) + "==";
    session.hidden.eventValidation = "/wEW" + token(24) + "=";
    return session.hidden;
}

SiteReply BankSite::logonPage(Call&) {
    const std::string id = token(24);
    Session& session = m_sessions[id];
    SiteReply reply = pageReply(PageRenderer::Logon(issueHidden(session), ""));
    reply.cookies.push_back(cookie(kSessionCookie, id));
    return reply;
}

SiteReply BankSite::logon(Call& call) {
    checkFields(call, SiteForm::Names(SiteForm::Logon()));
    const bool stateOk = checkState(call, true);
    Session& session = *call.session;
    const bool accepted = call.form.value("customer") == TextCodec::Utf8ToCp1250(m_data.user) &&
                          call.form.value("password") == TextCodec::Utf8ToCp1250(m_data.password);
    if (!stateOk || !accepted) {
        session.auth.clear();
        return pageReply(PageRenderer::Logon(issueHidden(session),
                                             stateOk ? "Nieprawidłowy identyfikator lub hasło."
                                                     : "Sesja wygasła. Zaloguj się ponownie."));
    }
    session.auth = token(32);
    SiteReply reply = pageReply(PageRenderer::Welcome(m_data.user));
    reply.cookies.push_back(cookie(kAuthCookie, session.auth));
    if (m_style.redirectLogon) {
        reply.status = 302;
        reply.location = "/start.aspx";
    }
    return reply;
}

SiteReply BankSite::accounts(Call& call) {
    Session& session = *call.session;
    const bool in = loggedOn(call);
    session.accountTokens.clear();
    std::vector<std::string> tokens;
    for (size_t i = 0; in && i < m_data.accounts.size(); ++i) {
        tokens.push_back("acc=" + std::to_string(i) + ";k=" + token(12));
        session.accountTokens[tokens.back()] = static_cast<int>(i);
    }
    const std::string target =
        m_style.rootedAccountLinks ? "/account_details.aspx" : "account_details.aspx";
    return pageReply(
        PageRenderer::Accounts(issueHidden(session), m_data.accounts, tokens, in, target));
}

SiteReply BankSite::account(Call& call) {
    if (!loggedOn(call)) {
        violation(call, "account opened without a log-on");
        return pageReply(PageRenderer::Error("Sesja wygasła. Zaloguj się ponownie."));
    }
    checkFields(call, SiteForm::Names(SiteForm::Accounts()));
    if (call.form.value("sSeparator") != "'") {
        violation(call, "sSeparator is not an apostrophe");
    }
    Session& session = *call.session;
    const auto found = session.accountTokens.find(call.form.value("__PARAMETERS"));
    if (!checkState(call, true) || found == session.accountTokens.end()) {
        violation(call, "unknown account parameters");
        return pageReply(PageRenderer::Error("Nie można wyświetlić rachunku."));
    }
    session.account = found->second;
    session.operationTokens.clear();
    session.pageTokens.clear();
    return pageReply(
        PageRenderer::Account(issueHidden(session), m_data.accounts[size_t(session.account)]));
}

bool BankSite::readPeriod(Call& call, ListQuery& query) {
    const std::string days = call.form.value("lastdays_days");
    query.unit = call.form.value("lastdays_period");
    const bool digits = !days.empty() && days.size() < 6 &&
                        days.find_first_not_of("0123456789") == std::string::npos;
    query.count = digits ? std::stoi(days) : 0;
    if (query.count <= 0 || (query.unit != "D" && query.unit != "M")) {
        violation(call, "period " + days + " " + query.unit);
        return false;
    }
    if (call.form.value("rangepanel_group") != "lastdays_radio" ||
        call.form.value("accoperlist_typefilter_group") != "ALL") {
        violation(call, "filter is not the last days of every type");
    }
    return true;
}

SiteReply BankSite::list(Call& call) {
    Session& session = *call.session;
    if (!loggedOn(call) || session.account < 0) {
        violation(call, "operation list without an account");
        return pageReply(PageRenderer::Error("Sesja wygasła. Zaloguj się ponownie."));
    }
    const std::string parameters = call.form.value("__PARAMETERS");
    ListQuery query{session.account, 30, "D"};
    int page = 1;
    bool ok = true;
    if (!call.form.has("rangepanel_group")) {
        // The account's own form posted on: the list's default view.
        checkFields(call, SiteForm::Merge(SiteForm::Merge(SiteForm::Names(SiteForm::Accounts()),
                                                          SiteForm::Names(SiteForm::Account())),
                                          {"sCounter", "__EVENTVALIDATION"}));
        ok = checkState(call, false);
        if (!call.form.value("__EVENTVALIDATION").empty() || !call.form.value("sCounter").empty()) {
            violation(call, "sCounter and __EVENTVALIDATION should be empty");
        }
    } else if (parameters.empty()) {
        checkFields(call, SiteForm::ListRequest());
        ok = checkState(call, true) && readPeriod(call, query);
    } else {
        const auto found = session.pageTokens.find(parameters);
        checkFields(call,
                    SiteForm::Merge(SiteForm::ListRequest(), SiteForm::Names(SiteForm::List())));
        ok = checkState(call, true) && found != session.pageTokens.end() && readPeriod(call, query);
        if (ok &&
            (query.count != found->second.first.count || query.unit != found->second.first.unit)) {
            violation(call, "period changed between pages");
        }
        if (ok) {
            query = found->second.first;
            page = found->second.second;
        } else {
            violation(call, "unknown page parameters");
        }
    }
    if (!ok) {
        return pageReply(PageRenderer::Error("Nie można wyświetlić historii operacji."));
    }
    return listPage(call, query, page);
}

std::vector<size_t> BankSite::selectOperations(const ListQuery& query) const {
    const int today = CivilDate::Today();
    const int from =
        query.unit == "M" ? CivilDate::MonthsBefore(today, query.count) : today - query.count + 1;
    std::vector<size_t> selected;
    const std::vector<BankOperation>& operations =
        m_data.accounts[size_t(query.account)].operations;
    for (size_t i = 0; i < operations.size(); ++i) {
        if (operations[i].operationDay >= from && operations[i].operationDay <= today) {
            selected.push_back(i);
        }
    }
    return selected;
}

SiteReply BankSite::listPage(Call& call, const ListQuery& query, int page) {
    Session& session = *call.session;
    const BankAccount& account = m_data.accounts[size_t(query.account)];
    const std::vector<size_t> selected = selectOperations(query);
    ListPageContent content;
    content.account = &account;
    content.page = page;
    content.periodText =
        "ostatnie " + std::to_string(query.count) + (query.unit == "M" ? " miesięcy" : " dni");
    const size_t pages = std::max<size_t>(1, (selected.size() + kPageSize - 1) / kPageSize);
    const size_t shown = std::min(size_t(page), pages);
    const size_t first = (shown - 1) * kPageSize;
    for (size_t i = first; i < selected.size() && i < first + kPageSize; ++i) {
        const BankOperation& op = account.operations[selected[i]];
        const std::string parameters = "oper=" + std::to_string(op.tid) + ";k=" + token(12);
        session.operationTokens[parameters] = {query.account, selected[i]};
        content.operations.push_back({&op, parameters});
    }
    if (size_t(page) < pages || call.endlessList) {
        content.olderParameters = "page=" + std::to_string(page + 1) + ";k=" + token(12);
        session.pageTokens[content.olderParameters] = {query, page + 1};
    }
    return pageReply(PageRenderer::List(issueHidden(session), content));
}

SiteReply BankSite::details(Call& call) {
    Session& session = *call.session;
    if (!loggedOn(call)) {
        violation(call, "details without a log-on");
        return pageReply(PageRenderer::Error("Sesja wygasła. Zaloguj się ponownie."));
    }
    checkFields(call, SiteForm::Merge(SiteForm::ListRequest(), SiteForm::Names(SiteForm::List())));
    const auto found = session.operationTokens.find(call.form.value("__PARAMETERS"));
    if (!checkState(call, true) || found == session.operationTokens.end() ||
        found->second.first != session.account) {
        violation(call, "unknown operation parameters");
        return pageReply(PageRenderer::Error("Nie można wyświetlić szczegółów operacji."));
    }
    const BankAccount& account = m_data.accounts[size_t(found->second.first)];
    return pageReply(PageRenderer::Details(account.operations[found->second.second], account));
}
