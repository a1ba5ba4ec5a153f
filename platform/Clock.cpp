#include "Clock.h"

#include <atomic>
#include <ctime>

namespace {

std::atomic<bool> g_pinned{false};
std::atomic<int64_t> g_pinnedValue{0};

}  // namespace

int64_t Clock::now() {
    if (g_pinned.load()) {
        return g_pinnedValue.load();
    }
    return static_cast<int64_t>(std::time(nullptr));
}

void Clock::pin(int64_t seconds) {
    g_pinnedValue.store(seconds);
    g_pinned.store(true);
}

void Clock::unpin() {
    g_pinned.store(false);
}
