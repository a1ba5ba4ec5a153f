// SPDX-License-Identifier: GPL-3.0-or-later
// A module whose QueryHistory waits for setAbortFlag (at most BLOCK_LIMIT_MS) and then
// returns -8. With the environment variable TAVRO_BLOCK_US it returns after that many
// microseconds instead, so an unload can race a cancel.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "ModuleInterface.h"

namespace {
std::atomic<bool> g_abort{false};
const int32_t kTable[] = {9, 90000001, 0};
}  // namespace

extern "C" const int32_t* getIBType(void) {
    return kTable;
}

extern "C" int32_t QueryHistory(HistoryQuery*, int32_t) {
    const char* limit = std::getenv("TAVRO_BLOCK_US");
    const auto deadline =
        std::chrono::steady_clock::now() + (limit ? std::chrono::microseconds(std::atoi(limit))
                                                  : std::chrono::microseconds(20'000'000));
    while (!g_abort.load() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    return g_abort.exchange(false) ? ResultCode::Cancelled : 0;
}

extern "C" int32_t getIBInfo(int32_t, ModuleInfo*) {
    return 0;
}

extern "C" int32_t setAbortFlag(void) {
    g_abort = true;
    return 1;
}
