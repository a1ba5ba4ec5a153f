// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The module-wide cancellation flag: written by the host's interface thread through setAbortFlag,
// read by the downloading thread between received chunks, from libcurl's progress callback and
// after each request.

#include <atomic>

std::atomic<bool>& AbortFlag();

inline bool AbortRequested() {
    return AbortFlag().load(std::memory_order_relaxed);
}
