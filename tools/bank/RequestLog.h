// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line per request for the tests to read while the bank runs, flushed at once:
//   <n> TAB <method> TAB <path> TAB version=HTTP/1.1 TAB referer=... TAB cookie=...
//       TAB content-type=... TAB accept-content=... TAB accept=... TAB pragma=...
//       TAB user-agent=... TAB body=<body as received>
// (accept=- when the request has no Accept header at all)
// and one line per failed check of what a request carried:
//   ! TAB <n> TAB <method> TAB <path> TAB <reason>
// Check failures also go to standard error, so they show without a log file.

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

struct LoggedRequest {
    std::string method;
    std::string path;
    std::string version;  // "HTTP/1.1"
    std::string referer;
    std::string cookie;
    std::string contentType;
    std::string acceptContent;
    bool acceptSent = false;
    std::string accept;
    std::string pragma;
    std::string userAgent;
    std::string body;
};

class RequestLog {
public:
    explicit RequestLog(const std::string& path);  // empty: no file
    // Returns the request's number.
    int record(const LoggedRequest& request);
    void violation(int number, const LoggedRequest& request, const std::string& reason);

private:
    void write(const std::string& line);

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
    std::mutex m_mutex;
    int m_count = 0;
};
