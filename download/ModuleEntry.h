// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One module file found in banki/. Only the name is kept: modules are loaded per call.
struct ModuleEntry {
    std::string fileName;  // name and extension, as the directory listing gave it
    int32_t type = -1;     // -1 when the module gave no type table
    std::vector<int32_t> routingNumbers;
};
