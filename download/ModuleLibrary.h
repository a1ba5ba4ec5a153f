// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

// One loaded module file; unloaded when the object goes. A library that failed to load
// is still an object, with no symbols.
class ModuleLibrary {
public:
    explicit ModuleLibrary(const std::filesystem::path& path);
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    bool isLoaded() const { return m_handle != nullptr; }
    // Null when not loaded or when the export is missing.
    void* symbol(const char* name) const;

    template <typename Function>
    Function function(const char* name) const {
        return reinterpret_cast<Function>(symbol(name));
    }

private:
    void* m_handle = nullptr;
};
