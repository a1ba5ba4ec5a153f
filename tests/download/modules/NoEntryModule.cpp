// SPDX-License-Identifier: GPL-3.0-or-later
// A module that forgot getIBType: the loader must drop it.
#include "ModuleInterface.h"

extern "C" int32_t QueryHistory(HistoryQuery*, int32_t) {
    return 0;
}
