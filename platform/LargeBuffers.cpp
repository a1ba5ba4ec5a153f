// SPDX-License-Identifier: GPL-3.0-or-later
#include "LargeBuffers.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>

#include "HugePageAllocator.h"

namespace LargeBuffers {

namespace {

constexpr int kMapFrom = 4 << 20;
constexpr int kMapFromWhileReady = 32 << 20;  // the C library's highest
constexpr int kTrimAbove = 128 << 10;         // the C library's own
constexpr int kTrimAboveWhileReady = 1 << 30;

}  // namespace

void returnToTheSystemWhenFreed() {
#if defined(__GLIBC__)
    // A fixed threshold also stops the C library from raising it after each such free.
    mallopt(M_MMAP_THRESHOLD, kMapFrom);
    mallopt(M_TRIM_THRESHOLD, kTrimAbove);
    malloc_trim(0);
#endif
}

void keepHeapReady(size_t bytes) {
#if defined(__GLIBC__)
    // A larger block would be mapped anew, and its room returned when freed.
    bytes = std::min(bytes, static_cast<size_t>(kMapFromWhileReady) - (64 << 10));
    if (bytes == 0) {
        return;
    }
    mallopt(M_TRIM_THRESHOLD, kTrimAboveWhileReady);
    // The room itself from the heap; the threshold is lowered again at once, as the other
    // threads still make their large blocks.
    mallopt(M_MMAP_THRESHOLD, kMapFromWhileReady);
    void* room = std::malloc(bytes);
    mallopt(M_MMAP_THRESHOLD, kMapFrom);
    if (room != nullptr) {
        HugePages::faultIn(room, bytes);
        std::free(room);
    }
#else
    (void)bytes;
#endif
}

void serveLargeBlocksFromHeap() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kMapFromWhileReady);
#endif
}

}  // namespace LargeBuffers
