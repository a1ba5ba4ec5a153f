// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModuleLibrary.h"

#include <dlfcn.h>

// RTLD_LOCAL keeps the exports of one module from resolving symbols of another: every
// module exports the same four names.
ModuleLibrary::ModuleLibrary(const std::filesystem::path& path)
    : m_handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}

ModuleLibrary::~ModuleLibrary() {
    if (m_handle) {
        dlclose(m_handle);
    }
}

void* ModuleLibrary::symbol(const char* name) const {
    return m_handle ? dlsym(m_handle, name) : nullptr;
}
