// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "ModuleEntry.h"
#include "ModuleInterface.h"
#include "Schema.h"

class BankComboSink;
class ModuleLibrary;

// Finds the bank modules in <program folder>/banki, chooses one for an account, and runs
// its exports. A module is loaded only for the duration of one call.
class CPluginLoader {
public:
    // The program folder is the folder of the running executable; the modules are in its banki/
    // unless UseModuleFolder named another folder.
    explicit CPluginLoader(Schema::ConsoleLine console);
    CPluginLoader(Schema::ConsoleLine console, std::filesystem::path programFolder);
    virtual ~CPluginLoader();
    CPluginLoader(const CPluginLoader&) = delete;
    CPluginLoader& operator=(const CPluginLoader&) = delete;

    // Rebuilds the module list from banki/*.module, in file-name order.
    void ScanModules();
    // The type of the first module that serves the account's bank, or -1.
    int32_t DetectModuleType(const std::u16string& accountNumber);
    // Runs QueryHistory of the first module of the type on the calling thread. False when no
    // module has that type; `result` is written only when QueryHistory was called.
    bool RunQueryHistory(int32_t type, HistoryQuery* query, int32_t* result);
    // "Autodetekcja" (data 0) and the name of every module that gives one; returns the number
    // of modules in the list.
    int32_t FillBankCombo(BankComboSink& combo);
    // Asks the running module to stop; true when it agreed. Safe from any thread.
    bool AbortRunningModule();

    // The folder in which loaders made from now on without a program folder find the modules:
    // the demo's own, where the module is linked beside its configuration. Empty: banki/.
    static void UseModuleFolder(std::filesystem::path folder);

    const std::vector<ModuleEntry>& modules() const { return m_modules; }
    const std::filesystem::path& programFolder() const { return m_programFolder; }

private:
    std::filesystem::path modulePath(const ModuleEntry& entry) const;
    ModuleEntry probe(const std::string& fileName, bool& hasEntryPoint);
    void log(const std::u16string& line) const;
    void publishRunning(ModuleLibrary* library);

    Schema::ConsoleLine m_console;
    std::filesystem::path m_programFolder;
    std::filesystem::path m_moduleFolder;
    std::vector<ModuleEntry> m_modules;

    // Held around the abort call and around the unloading, so a cancel never calls into a
    // library that is being unloaded.
    std::mutex m_runningLock;
    ModuleLibrary* m_running = nullptr;
};
