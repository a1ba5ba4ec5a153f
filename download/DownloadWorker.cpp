// SPDX-License-Identifier: GPL-3.0-or-later
#include "DownloadWorker.h"

#include "DownloadRunner.h"

DownloadWorker::DownloadWorker(DownloadServices services) : m_services(std::move(services)) {}

DownloadWorker::~DownloadWorker() {
    join();
}

bool DownloadWorker::start(DownloadRun run) {
    if (run.jobs.empty() || m_running.exchange(true)) {
        return false;
    }
    // The previous thread has finished its work; only its end is left to collect.
    join();
    try {
        m_thread = std::thread([this, run = std::move(run)]() mutable {
            try {
                DownloadRunner(m_services, std::move(run)).run();
            } catch (const std::exception&) {
                // Only the setup can throw (no code-page converter); nothing was started.
            }
            m_running = false;
        });
    } catch (const std::system_error&) {
        m_running = false;
        return false;
    }
    return true;
}

void DownloadWorker::join() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}
