// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Large arrays (the history's) in transparent huge pages. Filled for the first time, memory
// costs a page fault every 4 KiB: some fifty thousand for a million operations, half a second
// on a virtual machine. Arrays of 2 MiB or more are asked for in 2 MiB pages (where the system
// gives them only on request, as Debian does); smaller ones come from the usual heap.

#include <cstddef>
#include <vector>

namespace HugePages {

inline constexpr size_t kPage = size_t{2} << 20;

// At least `bytes`, aligned to kPage and advised as huge pages; throws std::bad_alloc.
void* allocate(size_t bytes);
void release(void* memory) noexcept;
// Advises the whole 2 MiB pages inside memory that is not yet touched (a vector's reserved room):
// they come as huge pages when first filled, and the partial ones at the ends as usual.
void adviseWithin(const void* memory, size_t bytes) noexcept;
// Advises memory that is not yet touched as adviseWithin does, then faults in its whole 4 KiB
// pages without changing what they hold: a thread with time to spare pays for fresh memory
// before another fills it.
void faultIn(const void* memory, size_t bytes) noexcept;

}  // namespace HugePages

template <typename T>
class HugePageAllocator {
public:
    using value_type = T;

    HugePageAllocator() = default;
    template <typename U>
    explicit HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

    T* allocate(size_t count) {
        if (count * sizeof(T) < HugePages::kPage) {
            return std::allocator<T>().allocate(count);
        }
        return static_cast<T*>(HugePages::allocate(count * sizeof(T)));
    }
    void deallocate(T* memory, size_t count) noexcept {
        if (count * sizeof(T) < HugePages::kPage) {
            std::allocator<T>().deallocate(memory, count);
        } else {
            HugePages::release(memory);
        }
    }
    template <typename U>
    bool operator==(const HugePageAllocator<U>&) const noexcept {
        return true;
    }
};

template <typename T>
using HugeVector = std::vector<T, HugePageAllocator<T>>;
