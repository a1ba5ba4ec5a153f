// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "DownloadRun.h"
#include "DownloadServices.h"
#include "ModuleInterface.h"
#include "OperationStore.h"

// One download from start to end, on the worker thread: for each job a module call inside
// one transaction, then notifications and warnings.
class DownloadRunner {
public:
    DownloadRunner(const DownloadServices& services, DownloadRun run);

    void run();

    // Called through the module's callbacks.
    void storeOperation(HostContext& context, const OperationRecord& record);
    void reportProgress(int32_t percent, const char16_t* text);

    // The lower bar: each job has an equal integer share of 100.
    static int32_t OverallProgress(int32_t index, int32_t count, int32_t percent);

private:
    void begin();
    void end();
    // False when the user chose to stop the remaining jobs.
    bool runJob(size_t index, const DownloadJob& job);
    int32_t runModule(int32_t type, HistoryQuery& query);
    void announce(const DownloadJob& job, const HostContext& context);
    void console(const std::u16string& line);

    const DownloadServices& m_services;
    DownloadRun m_run;
    OperationStore m_store;
    int32_t m_count = 0;  // N, jobs in the run
    int32_t m_index = 0;  // current job
    int32_t m_totalCount = 0;
    double m_totalSum = 0.0;
    bool m_warnings = false;
    // SQLite's result code when the current job could not be stored.
    std::optional<int> m_storeFailure;
};

// The host's OperationCallback and ProgressCallback; the context's owner is the runner.
int32_t StoreOperation(HostContext* context, const OperationRecord* record);
void ReportProgress(HostContext* context, int32_t percent, const char16_t* text);
