// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The machine-wide lock that lets only one copy of the program work on its database: an
// abstract-namespace Unix socket named after the lock, bound while the copy runs. Every user
// of the machine sees the same name, and the kernel releases it when the process ends, however
// it ends, so a crash leaves no stale lock.
class SingleInstance {
public:
    explicit SingleInstance(std::string name = "Global\\DEZ");
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this object now holds the lock (or held it already); false when another
    // process (or object) holds it.
    bool acquire();
    void release();
    bool held() const { return m_fd >= 0; }
    const std::string& name() const { return m_name; }

private:
    std::string m_name;
    int m_fd = -1;
};
