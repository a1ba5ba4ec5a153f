// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The network side of the bank: HTTPS on 127.0.0.1, the site's replies in ISO-8859-2, and the
// faults of the plan applied on the way out.

#include <httplib.h>

#include <memory>
#include <string>

#include "BankSite.h"
#include "Certificate.h"
#include "FaultPlan.h"

class HttpsFrontEnd {
public:
    HttpsFrontEnd(BankSite& site, FaultPlan& faults, const Certificate& certificate);
    // Binds to 127.0.0.1; port 0 picks a free one. Returns the port, or -1.
    int bind(int port);
    // Serves until the process ends.
    bool serve();

private:
    void answer(const httplib::Request& request, httplib::Response& response);
    static LoggedRequest describe(const httplib::Request& request);

    BankSite& m_site;
    FaultPlan& m_faults;
    std::unique_ptr<httplib::SSLServer> m_server;
};
