// SPDX-License-Identifier: GPL-3.0-or-later
#include "HttpsFrontEnd.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "PageRenderer.h"
#include "TextCodec.h"

namespace {
constexpr const char* kContentType = "text/html; charset=iso-8859-2";

std::string header(const httplib::Request& request, const char* name) {
    return request.get_header_value(name);
}

// Sends the first `limit` bytes of the page and then drops the connection, with the full
// length announced.
void cutOff(httplib::Response& response, std::string page, long limit) {
    auto body = std::make_shared<std::string>(std::move(page));
    const size_t end = std::min(body->size(), static_cast<size_t>(limit));
    response.set_content_provider(
        body->size(), kContentType,
        [body, end](size_t offset, size_t length, httplib::DataSink& sink) {
            if (offset >= end) {
                return false;
            }
            sink.write(body->data() + offset, std::min({length, end - offset, size_t{16384}}));
            return true;
        });
}
}  // namespace

HttpsFrontEnd::HttpsFrontEnd(BankSite& site, FaultPlan& faults, const Certificate& certificate)
    : m_site(site),
      m_faults(faults),
      m_server(std::make_unique<httplib::SSLServer>(certificate.certificate(), certificate.key())) {
    // httplib owns the queue it is given; sixteen workers keep a delayed request from blocking
    // the others.
    m_server->new_task_queue = [] { return new httplib::ThreadPool(16); };
    m_server->set_keep_alive_max_count(1000);
    m_server->set_keep_alive_timeout(30);
    // Headers and body go out in separate writes: without this every answer waits for the
    // client's delayed acknowledgement (about 40 ms).
    m_server->set_tcp_nodelay(true);
    const auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        answer(request, response);
    };
    m_server->Get(".*", handler);
    m_server->Post(".*", handler);
}

int HttpsFrontEnd::bind(int port) {
    if (!m_server->is_valid()) {
        return -1;
    }
    if (port == 0) {
        return m_server->bind_to_any_port("127.0.0.1");
    }
    return m_server->bind_to_port("127.0.0.1", port) ? port : -1;
}

bool HttpsFrontEnd::serve() {
    return m_server->listen_after_bind();
}

LoggedRequest HttpsFrontEnd::describe(const httplib::Request& request) {
    LoggedRequest r;
    r.method = request.method;
    r.path = request.path;
    r.version = request.version;
    r.referer = header(request, "Referer");
    r.cookie = header(request, "Cookie");
    r.contentType = header(request, "Content-Type");
    r.acceptContent = header(request, "Accept-Content");
    r.acceptSent = request.has_header("Accept");
    r.accept = header(request, "Accept");
    r.pragma = header(request, "Pragma");
    r.userAgent = header(request, "User-Agent");
    r.body = request.body;
    return r;
}

void HttpsFrontEnd::answer(const httplib::Request& request, httplib::Response& response) {
    const LoggedRequest described = describe(request);
    const std::vector<FaultRule> faults = m_faults.onRequest(request.path);
    for (const FaultRule& fault : faults) {
        if (fault.kind == FaultKind::Delay) {
            std::this_thread::sleep_for(std::chrono::seconds(fault.value));
        }
        if (fault.kind == FaultKind::Status) {
            m_site.recordOnly(described);
            response.status = static_cast<int>(fault.value);
            response.set_content(TextCodec::Utf8ToLatin2(PageRenderer::Error(
                                     "Serwis chwilowo niedostępny. Spróbuj ponownie później.")),
                                 kContentType);
            return;
        }
    }
    const bool endless = std::any_of(faults.begin(), faults.end(), [](const FaultRule& fault) {
        return fault.kind == FaultKind::Endless;
    });
    const SiteReply reply = m_site.handle(described, endless);
    response.status = reply.status;
    for (const std::string& cookie : reply.cookies) {
        response.set_header("Set-Cookie", cookie);
    }
    if (!reply.location.empty()) {
        response.set_header("Location", reply.location);
    }
    response.set_header("Cache-Control", "no-cache, no-store");
    std::string page = TextCodec::Utf8ToLatin2(reply.html);
    long cut = -1;
    for (const FaultRule& fault : faults) {
        if (fault.kind == FaultKind::NoMarkers) {
            page = FaultPlan::StripMarkers(std::move(page));
        } else if (fault.kind == FaultKind::NoNumber) {
            page = FaultPlan::StripNumber(std::move(page));
        } else if (fault.kind == FaultKind::Oversize) {
            page = FaultPlan::Oversize(page, fault.value);
        } else if (fault.kind == FaultKind::Reset) {
            cut = fault.value;
        }
    }
    if (cut >= 0) {
        cutOff(response, std::move(page), cut);
    } else {
        response.set_content(page, kContentType);
    }
}
