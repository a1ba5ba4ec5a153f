// SPDX-License-Identifier: GPL-3.0-or-later
#include "HugePageAllocator.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace HugePages {

void* allocate(size_t bytes) {
    const size_t rounded = (bytes + kPage - 1) / kPage * kPage;
    void* memory = std::aligned_alloc(kPage, rounded);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    // Advice only: without huge pages the memory works as any other.
    madvise(memory, rounded, MADV_HUGEPAGE);
    return memory;
}

void adviseWithin(const void* memory, size_t bytes) noexcept {
    const auto begin = reinterpret_cast<uintptr_t>(memory);
    const uintptr_t first = (begin + kPage - 1) / kPage * kPage;
    const uintptr_t last = (begin + bytes) / kPage * kPage;
    if (first < last) {
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
}

void faultIn(const void* memory, size_t bytes) noexcept {
    adviseWithin(memory, bytes);
    constexpr uintptr_t kSmallPage = 4096;
    const auto begin = reinterpret_cast<uintptr_t>(memory);
    const uintptr_t first = (begin + kSmallPage - 1) / kSmallPage * kSmallPage;
    const uintptr_t last = (begin + bytes) / kSmallPage * kSmallPage;
    if (first < last) {
        // Advice only: a kernel without it leaves the faults to the filling.
        madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
    }
}

void release(void* memory) noexcept {
    std::free(memory);
}

}  // namespace HugePages
