// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <thread>

#include "DownloadRun.h"
#include "DownloadServices.h"

// Owns the download thread. At most one download runs at a time.
class DownloadWorker {
public:
    explicit DownloadWorker(DownloadServices services);
    // Waits for a running download: it uses the services until its very end.
    ~DownloadWorker();
    DownloadWorker(const DownloadWorker&) = delete;
    DownloadWorker& operator=(const DownloadWorker&) = delete;

    // False, and nothing started, when a download runs or the run has no jobs.
    bool start(DownloadRun run);
    bool isRunning() const { return m_running.load(); }
    // Waits until the thread has ended; returns at once when idle.
    void join();

private:
    DownloadServices m_services;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};
