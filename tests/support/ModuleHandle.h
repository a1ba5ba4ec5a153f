// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A bank module loaded with dlopen for the length of a test, with its four exports.

#include <filesystem>
#include <memory>

#include "ModuleInterface.h"

class ModuleHandle {
public:
    // Throws std::runtime_error with dlerror's text when the file cannot be loaded or lacks an
    // export.
    explicit ModuleHandle(const std::filesystem::path& file);

    QueryHistoryFn queryHistory = nullptr;
    GetIBInfoFn getIBInfo = nullptr;
    GetIBTypeFn getIBType = nullptr;
    SetAbortFlagFn setAbortFlag = nullptr;

private:
    struct Closer {
        void operator()(void* handle) const;
    };
    void* symbol(const char* name) const;

    std::unique_ptr<void, Closer> m_handle;
};
