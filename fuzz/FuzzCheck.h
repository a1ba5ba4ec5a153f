// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A failed property stops the fuzzer with a message; libFuzzer then saves the input.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                          \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)
