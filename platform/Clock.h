#pragma once

#include <cstdint>

// The main window's source of "now", in seconds since 1970-01-01 00:00 UTC. Tests pin it so
// that the time filters and the date pickers see a known moment.
class Clock {
public:
    static int64_t now();

    static void pin(int64_t seconds);
    static void unpin();
};
