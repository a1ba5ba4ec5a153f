// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bank's web site without the network: sessions, the pages of the log-on, the accounts, the
// operation lists and details, and the checks of what each request carries. Thread-safe; the
// network front end calls handle() from its worker threads.

#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "BankData.h"
#include "FormBody.h"
#include "RequestLog.h"
#include "SiteForm.h"

struct SiteReply {
    int status = 200;
    std::string html;  // UTF-8
    std::vector<std::string> cookies;
    std::string location;
};

// Ways of the site that real banks' sites differ in.
struct SiteStyle {
    bool redirectLogon = false;       // a good log-on is answered with a redirect (302)
    bool rootedAccountLinks = false;  // the accounts page names the link target with a leading "/"
};

class BankSite {
public:
    BankSite(BankData data, RequestLog& log, SiteStyle style);

    // Logs the request, checks it and answers it. With `endlessList` every operation-list page
    // offers older operations; past the end of the history the last page is shown again.
    SiteReply handle(const LoggedRequest& request, bool endlessList = false);
    // Logs a request that a fault answers instead of the site.
    void recordOnly(const LoggedRequest& request);

    static constexpr const char* kSessionCookie = "ASP.NET_SessionId";
    static constexpr const char* kAuthCookie = ".TAVROAUTH";
    static constexpr const char* kUserAgent =
        "Mozilla/5.0 (Windows; U; Windows NT 6.0; pl-PL; rv:1.7.6) Gecko/20050317 Firefox/1.0.2";

private:
    struct ListQuery {
        int account = -1;
        int count = 0;
        std::string unit;
    };
    struct Session {
        std::string auth;    // value of the log-on cookie, empty until logged on
        HiddenState hidden;  // what the last page with a form issued
        std::map<std::string, int> accountTokens;
        int account = -1;
        std::map<std::string, std::pair<int, size_t>> operationTokens;  // account, index
        std::map<std::string, std::pair<ListQuery, int>> pageTokens;    // query, page
    };
    struct Call {
        int number;
        const LoggedRequest& request;
        FormBody form;
        Session* session;
        std::map<std::string, std::string> cookies;
        bool endlessList = false;
    };

    SiteReply route(Call& call);
    SiteReply logonPage(Call& call);
    SiteReply logon(Call& call);
    SiteReply accounts(Call& call);
    SiteReply account(Call& call);
    SiteReply list(Call& call);
    SiteReply details(Call& call);
    SiteReply listPage(Call& call, const ListQuery& query, int page);

    void checkHeaders(Call& call);
    bool checkFields(Call& call, const std::vector<std::string>& expected);
    bool checkState(Call& call, bool eventValidation);
    bool loggedOn(Call& call);
    bool readPeriod(Call& call, ListQuery& query);
    void violation(Call& call, const std::string& reason);
    const HiddenState& issueHidden(Session& session);
    std::string token(size_t length);
    std::vector<size_t> selectOperations(const ListQuery& query) const;

    BankData m_data;
    RequestLog& m_log;
    SiteStyle m_style;
    std::mutex m_mutex;
    std::mt19937_64 m_random;
    std::map<std::string, Session> m_sessions;
};
