// SPDX-License-Identifier: GPL-3.0-or-later
// A module of a fixed type and routing numbers (MODULE_TYPE, MODULE_ROUTING, MODULE_NAME),
// whose QueryHistory returns its type, so a test can tell which module ran.
#include <algorithm>

#include "ModuleInterface.h"

namespace {
const int32_t kTable[] = {MODULE_TYPE, MODULE_ROUTING, 24100000, 0};
}

extern "C" const int32_t* getIBType(void) {
    return kTable;
}

extern "C" int32_t QueryHistory(HistoryQuery*, int32_t) {
    return MODULE_TYPE;
}

extern "C" int32_t getIBInfo(int32_t, ModuleInfo* info) {
    const char16_t name[] = MODULE_NAME;
    const int32_t length = sizeof name / sizeof name[0] - 1;
    if (!info || length >= info->nameCapacity) {
        return 0;
    }
    std::copy(name, name + length + 1, info->name);
    return 1;
}

extern "C" int32_t setAbortFlag(void) {
    return 1;
}
