// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModuleHandle.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

void ModuleHandle::Closer::operator()(void* handle) const {
    dlclose(handle);
}

ModuleHandle::ModuleHandle(const std::filesystem::path& file)
    : m_handle(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (!m_handle) {
        const char* error = dlerror();
        throw std::runtime_error("dlopen " + file.string() + ": " + (error ? error : "?"));
    }
    queryHistory = reinterpret_cast<QueryHistoryFn>(symbol("QueryHistory"));
    getIBInfo = reinterpret_cast<GetIBInfoFn>(symbol("getIBInfo"));
    getIBType = reinterpret_cast<GetIBTypeFn>(symbol("getIBType"));
    setAbortFlag = reinterpret_cast<SetAbortFlagFn>(symbol("setAbortFlag"));
}

void* ModuleHandle::symbol(const char* name) const {
    void* address = dlsym(m_handle.get(), name);
    if (address == nullptr) {
        throw std::runtime_error(std::string("module lacks the export ") + name);
    }
    return address;
}
