// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The list of a large history lives in a few buffers of many megabytes that are freed and
// made again on every reload. The C library would keep freed ones of up to 32 MiB in its heap
// and take new memory for the next reload's, so that a second reload needs more than the
// first; this makes every buffer of 4 MiB or more go back to the system when freed. Smaller
// ones, such as a keystroke's list of a million rows, stay in the heap and are reused without
// the system having to give (and clear) new pages each time.
namespace LargeBuffers {

void returnToTheSystemWhenFreed();

}  // namespace LargeBuffers
