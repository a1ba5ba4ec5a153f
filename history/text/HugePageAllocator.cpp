// SPDX-License-Identifier: GPL-3.0-or-later
#include "HugePageAllocator.h"

#include <sys/mman.h>

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

void release(void* memory) noexcept {
    std::free(memory);
}

}  // namespace HugePages
