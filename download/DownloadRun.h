// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "DownloadJob.h"

// What one start of the worker downloads; owned by the worker while it runs.
struct DownloadRun {
    std::vector<DownloadJob> jobs;
};
