// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz build's bank session answers: the pages of one input, in the order the module
// asks for them, from the first again when they run out, up to a bound of requests.

#include <cstddef>
#include <string>
#include <vector>

namespace FuzzPageFeed {

inline constexpr size_t kMaxRequests = 200000;

void serve(std::vector<std::string> pages);
size_t requests();

}  // namespace FuzzPageFeed
