// SPDX-License-Identifier: GPL-3.0-or-later
// The four functions the host binds; nothing else of the module is visible outside it.

#include <exception>

#include "AbortFlag.h"
#include "BankDirectory.h"
#include "HistoryDownload.h"
#include "ModuleConfig.h"
#include "ModuleInterface.h"

#define TAVRO_EXPORT __attribute__((visibility("default")))

extern "C" {

TAVRO_EXPORT int32_t QueryHistory(HistoryQuery* query, int32_t /*reserved*/) {
    try {
        const int32_t invalid = ValidateQuery(query);
        if (invalid != ResultCode::Success) {
            return invalid;
        }
        if (query->onProgress != nullptr) {
            query->onProgress(&query->context, 2, nullptr);
        }
        HistoryDownload download(*query, LoadModuleConfig());
        return download.run();
    } catch (...) {
        return ResultCode::RequestFailed;  // no exception may cross into the host
    }
}

TAVRO_EXPORT int32_t getIBInfo(int32_t type, ModuleInfo* info) {
    try {
        return FillModuleInfo(type, info);
    } catch (...) {
        return 0;
    }
}

TAVRO_EXPORT const int32_t* getIBType(void) {
    return ModuleTypeTable();
}

TAVRO_EXPORT int32_t setAbortFlag(void) {
    AbortFlag().store(true, std::memory_order_relaxed);
    return 1;
}
}
