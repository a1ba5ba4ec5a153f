// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A device that fills up, for tests: while the object lives, no file of this process can grow
// beyond `bytes`. A write across the limit is cut short, the next one fails with EFBIG.

#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (::getrlimit(RLIMIT_FSIZE, &m_previous) != 0) {
            throw std::runtime_error("getrlimit");
        }
        // The default action of SIGXFSZ ends the process; the write's error is what is tested.
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_previous.rlim_max};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            throw std::runtime_error("setrlimit");
        }
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_handler)(int) = SIG_DFL;
};
