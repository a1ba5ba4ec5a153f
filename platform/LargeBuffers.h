// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The list of a large history lives in a few buffers of many megabytes that are freed and
// made again on every reload. The C library would keep freed ones of up to 32 MiB in its heap
// and take new memory for the next reload's, so that a second reload needs more than the
// first; this makes every buffer of 4 MiB or more go back to the system when freed. Smaller
// ones, such as a keystroke's list of a million rows, stay in the heap and are reused without
// the system having to give (and clear) new pages each time.
#include <cstddef>

namespace LargeBuffers {

// Also ends keepHeapReady: what the heap holds beyond its use goes back to the system.
void returnToTheSystemWhenFreed();

// For a start-up: the heap of the calling thread grows by `bytes` now, in huge pages where the
// system gives them and faulted in, and keeps them until returnToTheSystemWhenFreed. What the
// thread allocates meanwhile comes from them, where each fresh 4 KiB page would cost a page
// fault (some 10 us on a virtual machine). Call it while the thread has nothing else to do.
void keepHeapReady(size_t bytes);
// From now until returnToTheSystemWhenFreed, blocks of up to 32 MiB come from the heap instead of
// from fresh mappings whose every 4 KiB page would fault. Only while no other thread makes large
// blocks: they would stay in the heap when freed.
void serveLargeBlocksFromHeap();

}  // namespace LargeBuffers
