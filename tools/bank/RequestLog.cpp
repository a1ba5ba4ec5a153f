// SPDX-License-Identifier: GPL-3.0-or-later
#include "RequestLog.h"

#include <stdexcept>

namespace {
// Tabs and line breaks would split a log line; nothing a client sends legitimately has them.
std::string flat(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}
}  // namespace

RequestLog::RequestLog(const std::string& path) {
    if (!path.empty()) {
        m_file.reset(std::fopen(path.c_str(), "w"));
        if (!m_file) {
            throw std::runtime_error("cannot write " + path);
        }
    }
}

void RequestLog::write(const std::string& line) {
    if (m_file) {
        std::fputs(line.c_str(), m_file.get());
        std::fflush(m_file.get());
    }
}

int RequestLog::record(const LoggedRequest& r) {
    std::lock_guard lock(m_mutex);
    const int number = ++m_count;
    write(std::to_string(number) + "\t" + flat(r.method) + "\t" + flat(r.path) + "\tversion=" +
          flat(r.version) + "\treferer=" + flat(r.referer) + "\tcookie=" + flat(r.cookie) +
          "\tcontent-type=" + flat(r.contentType) + "\taccept-content=" + flat(r.acceptContent) +
          "\taccept=" + (r.acceptSent ? flat(r.accept) : "-") + "\tpragma=" + flat(r.pragma) +
          "\tuser-agent=" + flat(r.userAgent) + "\tbody=" + flat(r.body) + "\n");
    return number;
}

void RequestLog::violation(int number, const LoggedRequest& r, const std::string& reason) {
    std::lock_guard lock(m_mutex);
    const std::string line = "!\t" + std::to_string(number) + "\t" + flat(r.method) + "\t" +
                             flat(r.path) + "\t" + flat(reason) + "\n";
    write(line);
    std::fputs(("tavro-bank: " + line).c_str(), stderr);
}
