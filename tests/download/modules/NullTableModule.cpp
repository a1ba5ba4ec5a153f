// SPDX-License-Identifier: GPL-3.0-or-later
// A module whose getIBType gives no table: listed with type -1, never chosen.
#include "ModuleInterface.h"

extern "C" const int32_t* getIBType(void) {
    return nullptr;
}
extern "C" int32_t QueryHistory(HistoryQuery*, int32_t) {
    return 0;
}
extern "C" int32_t getIBInfo(int32_t, ModuleInfo*) {
    return 0;
}
extern "C" int32_t setAbortFlag(void) {
    return 1;
}
