// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One HTTPS conversation with the bank's web host over a single libcurl easy handle, in HTTP/1.1:
// cookies kept in memory for the call, redirects followed, certificate and host name always
// verified.

#include <curl/curl.h>

#include <memory>
#include <string>

#include "ModuleConfig.h"

class BankSession {
public:
    static constexpr const char* kUserAgent =
        "Mozilla/5.0 (Windows; U; Windows NT 6.0; pl-PL; rv:1.7.6) Gecko/20050317 Firefox/1.0.2";
    static constexpr const char* kFormHeaders =
        "Accept-Content: */*;\r\nContent-Type: application/x-www-form-urlencoded";
    static constexpr size_t kChunkSize = 1023;
    static constexpr size_t kMaxChunks = 10241;

    BankSession();
    ~BankSession();
    BankSession(const BankSession&) = delete;
    BankSession& operator=(const BankSession&) = delete;

    // The internet session: the easy handle with the fixed session values.
    bool openSession();
    // The "connection" to the bank's host: address, TLS trust and time-outs from the configuration.
    bool connect(const ModuleConfig& config);
    void close();

    // The referrer of every request after the first.
    const std::string& baseUrl() const { return m_baseUrl; }

    // Performs one exchange; false on a network failure, an HTTP status of 400 or more, or
    // cancellation. The body is read in 1023-byte chunks (a zero byte ends its chunk's text).
    bool SendRequest(const std::string& verb, const std::string& path, const std::string& headers,
                     const std::string& referrer, const std::string& body, std::string& response);

private:
    struct CurlCleanup {
        void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    };
    std::unique_ptr<CURL, CurlCleanup> m_curl;
    bool m_globalInit = false;
    bool m_connected = false;
    std::string m_origin;   // https://host:port
    std::string m_baseUrl;  // https://host/ (with the port when it is not 443)
    std::string m_cafile;
    std::string m_noProxy;
};
