// SPDX-License-Identifier: GPL-3.0-or-later
#include "BankSession.h"

#include <cstdlib>

#include "AbortFlag.h"
#include "ResponseReader.h"

namespace {
struct SlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistFree>;

bool append(HeaderList& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (grown == nullptr) {
        return false;
    }
    list.release();
    list.reset(grown);
    return true;
}

// Every request: no cache, neither libcurl's "Accept: */*" nor its "Expect: 100-continue"
// round trip, then the caller's lines.
bool buildHeaders(const std::string& block, HeaderList& list) {
    if (!append(list, "Pragma: no-cache") || !append(list, "Accept:") || !append(list, "Expect:")) {
        return false;
    }
    size_t from = 0;
    while (from < block.size()) {
        size_t end = block.find("\r\n", from);
        if (end == std::string::npos) {
            end = block.size();
        }
        if (end > from && !append(list, block.substr(from, end - from))) {
            return false;
        }
        from = end + 2;
    }
    return true;
}

// Called by libcurl at least once a second, also while the server says nothing: a cancel then
// ends the request without waiting for the next byte or the low-speed time-out.
int checkAbort(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return AbortRequested() ? 1 : 0;
}

size_t writeBody(char* data, size_t size, size_t count, void* user) {
    auto* reader = static_cast<ResponseReader*>(user);
    return reader->receive(data, size * count) ? size * count : 0;
}

bool validHost(const std::string& host) {
    if (host.empty()) {
        return false;
    }
    for (const char c : host) {
        if (c == '/' || c == '@' || c == '?' || c == '#' || static_cast<unsigned char>(c) <= ' ') {
            return false;
        }
    }
    return true;
}
}  // namespace

BankSession::BankSession() = default;

BankSession::~BankSession() {
    close();
}

bool BankSession::openSession() {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        return false;
    }
    m_globalInit = true;
    m_curl.reset(curl_easy_init());
    if (!m_curl) {
        return false;
    }
    CURL* h = m_curl.get();
    curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
    // The bank's site has only ever been spoken to in HTTP/1.1; libcurl would offer HTTP/2.
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");  // cookie engine on, nothing read from disk
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &checkAbort);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    // The loopback host is never reached through the system's proxy.
    const char* envNoProxy = std::getenv("no_proxy");
    if (envNoProxy == nullptr) {
        envNoProxy = std::getenv("NO_PROXY");
    }
    m_noProxy = "localhost,127.0.0.1,::1";
    if (envNoProxy != nullptr && *envNoProxy != '\0') {
        m_noProxy = std::string(envNoProxy) + "," + m_noProxy;
    }
    curl_easy_setopt(h, CURLOPT_NOPROXY, m_noProxy.c_str());
    return true;
}

bool BankSession::connect(const ModuleConfig& config) {
    if (!m_curl || !validHost(config.host)) {
        return false;
    }
    const bool literalV6 = config.host.find(':') != std::string::npos;
    const std::string host = literalV6 ? "[" + config.host + "]" : config.host;
    m_origin = "https://" + host + ":" + std::to_string(config.port);
    m_baseUrl = "https://" + host;
    if (config.port != 443) {
        m_baseUrl += ':';
        m_baseUrl += std::to_string(config.port);
    }
    m_baseUrl += '/';
    CURL* h = m_curl.get();
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!config.cafile.empty()) {
        m_cafile = config.cafile;
        curl_easy_setopt(h, CURLOPT_CAINFO, m_cafile.c_str());
    }
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, config.connectTimeout);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, config.lowSpeedTime);
    m_connected = true;
    return true;
}

void BankSession::close() {
    m_connected = false;
    m_curl.reset();
    if (m_globalInit) {
        curl_global_cleanup();
        m_globalInit = false;
    }
}

bool BankSession::SendRequest(const std::string& verb, const std::string& path,
                              const std::string& headers, const std::string& referrer,
                              const std::string& body, std::string& response) {
    response.clear();
    HeaderList headerList;
    if (!m_connected || AbortRequested() || !buildHeaders(headers, headerList)) {
        return false;
    }
    CURL* h = m_curl.get();
    ResponseReader reader;
    const std::string url = m_origin + path;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_REFERER, referrer.empty() ? nullptr : referrer.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList.get());
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &reader);
    if (verb == "POST") {
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.c_str());
    } else {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    }
    const CURLcode result = curl_easy_perform(h);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, nullptr);
    if (reader.cancelled() || AbortRequested()) {
        return false;
    }
    // A page cut at the cap is not the page the bank sent: reading it would silently lose
    // whatever stood after the cut.
    if (result != CURLE_OK || reader.capped()) {
        return false;
    }
    reader.finish();
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 400) {
        return false;
    }
    response.swap(reader.body());
    return true;
}
