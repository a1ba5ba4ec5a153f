// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built module opened with dlopen, as the host opens it.

#include <dlfcn.h>

#include <string>

#include "ModuleInterface.h"

class ModuleLibrary {
public:
    explicit ModuleLibrary(const std::string& path) : m_handle(dlopen(path.c_str(), RTLD_NOW)) {
        if (m_handle != nullptr) {
            queryHistory = reinterpret_cast<QueryHistoryFn>(dlsym(m_handle, "QueryHistory"));
            getIBInfo = reinterpret_cast<GetIBInfoFn>(dlsym(m_handle, "getIBInfo"));
            getIBType = reinterpret_cast<GetIBTypeFn>(dlsym(m_handle, "getIBType"));
            setAbortFlag = reinterpret_cast<SetAbortFlagFn>(dlsym(m_handle, "setAbortFlag"));
        }
    }
    ~ModuleLibrary() {
        if (m_handle != nullptr) {
            dlclose(m_handle);
        }
    }
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    bool loaded() const {
        return queryHistory != nullptr && getIBInfo != nullptr && getIBType != nullptr &&
               setAbortFlag != nullptr;
    }

    QueryHistoryFn queryHistory = nullptr;
    GetIBInfoFn getIBInfo = nullptr;
    GetIBTypeFn getIBType = nullptr;
    SetAbortFlagFn setAbortFlag = nullptr;

private:
    void* m_handle;
};
