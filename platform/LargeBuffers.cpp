// SPDX-License-Identifier: GPL-3.0-or-later
#include "LargeBuffers.h"

#include <malloc.h>

namespace LargeBuffers {

void returnToTheSystemWhenFreed() {
#if defined(__GLIBC__)
    // A fixed threshold also stops the C library from raising it after each such free.
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
#endif
}

}  // namespace LargeBuffers
