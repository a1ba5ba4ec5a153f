// SPDX-License-Identifier: GPL-3.0-or-later
#include "CPluginLoader.h"

#include <algorithm>
#include <cinttypes>
#include <memory>
#include <system_error>

#include "BankComboSink.h"
#include "ModuleLibrary.h"
#include "TextFormat.h"

namespace {

// A type table without its terminating 0 must not make us read the module's whole memory.
constexpr size_t kMaxRoutingNumbers = 1024;
constexpr int32_t kInfoCapacity = 2048;
// Addresses below this are error values, not tables.
constexpr uintptr_t kLowestTableAddress = 16;

std::filesystem::path& chosenModuleFolder() {
    static std::filesystem::path folder;
    return folder;
}

std::filesystem::path ownProgramFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : exe.parent_path();
}

// Leading decimal digits, as the Windows runtime's number reading takes them.
int32_t leadingNumber(const std::u16string& text) {
    int64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            break;
        }
        value = value * 10 + (c - u'0');
    }
    return static_cast<int32_t>(value);
}

std::u16string withoutSpaces(const std::u16string& text) {
    std::u16string out;
    std::copy_if(text.begin(), text.end(), std::back_inserter(out),
                 [](char16_t c) { return c != u' '; });
    return out;
}

}  // namespace

CPluginLoader::CPluginLoader(Schema::ConsoleLine console)
    : CPluginLoader(std::move(console), ownProgramFolder()) {
    if (!chosenModuleFolder().empty()) {
        m_moduleFolder = chosenModuleFolder();
    }
}

CPluginLoader::CPluginLoader(Schema::ConsoleLine console, std::filesystem::path programFolder)
    : m_console(std::move(console)),
      m_programFolder(std::move(programFolder)),
      m_moduleFolder(m_programFolder / "banki") {}

void CPluginLoader::UseModuleFolder(std::filesystem::path folder) {
    chosenModuleFolder() = std::move(folder);
}

CPluginLoader::~CPluginLoader() = default;

void CPluginLoader::log(const std::u16string& line) const {
    if (m_console) {
        m_console(line);
    }
}

std::filesystem::path CPluginLoader::modulePath(const ModuleEntry& entry) const {
    return m_moduleFolder / entry.fileName;
}

void CPluginLoader::ScanModules() {
    m_modules.clear();
    // Sorted by name so that "first found wins" means the same on every file system.
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(m_moduleFolder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == ".module") {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        bool hasEntryPoint = false;
        ModuleEntry entry = probe(name, hasEntryPoint);
        if (!hasEntryPoint) {
            log(u"\t --- Odrzucam, brak punktu wejscia!");
            continue;
        }
        for (int32_t routing : entry.routingNumbers) {
            log(FormatText("\t --- extension: %08d", routing));
        }
        m_modules.push_back(std::move(entry));
    }
}

ModuleEntry CPluginLoader::probe(const std::string& fileName, bool& hasEntryPoint) {
    ModuleEntry entry;
    entry.fileName = fileName;
    ModuleLibrary library(m_moduleFolder / fileName);
    const auto getType = library.function<GetIBTypeFn>("getIBType");
    hasEntryPoint = getType != nullptr;
    if (getType) {
        const int32_t* table = getType();
        if (reinterpret_cast<uintptr_t>(table) >= kLowestTableAddress) {
            entry.type = table[0];
            for (size_t i = 1; i <= kMaxRoutingNumbers && table[i] != 0; ++i) {
                entry.routingNumbers.push_back(table[i]);
            }
        }
    }
    log(FormatText("\tPlugin (%s, \tePoint @%08" PRIXPTR ", \tType: %d)", fileName.c_str(),
                   reinterpret_cast<uintptr_t>(getType), entry.type));
    return entry;
}

int32_t CPluginLoader::DetectModuleType(const std::u16string& accountNumber) {
    const std::u16string number = withoutSpaces(accountNumber);
    if (number.size() != 26) {
        log(u"Account Error: [" + number + u"]");
        return -1;
    }
    const int32_t routing = leadingNumber(number.substr(2, 8));
    for (const ModuleEntry& entry : m_modules) {
        const std::u16string name = FromUtf8(entry.fileName);
        for (int32_t candidate : entry.routingNumbers) {
            log(u"A_EXT: " + name);
            if (candidate == routing) {
                log(u"AAEXT: " + name);
                return entry.type;
            }
        }
    }
    return -1;
}

void CPluginLoader::publishRunning(ModuleLibrary* library) {
    std::lock_guard<std::mutex> guard(m_runningLock);
    m_running = library;
}

bool CPluginLoader::RunQueryHistory(int32_t type, HistoryQuery* query, int32_t* result) {
    // -1 stands for "no bank matched": it must never pick a module that gave no table, which
    // would send the credentials to some other bank.
    if (type < 0) {
        return false;
    }
    const auto found = std::find_if(m_modules.begin(), m_modules.end(),
                                    [type](const ModuleEntry& e) { return e.type == type; });
    if (found == m_modules.end()) {
        return false;
    }
    const std::string fileName = found->fileName;
    auto library = std::make_unique<ModuleLibrary>(modulePath(*found));
    if (!library->isLoaded()) {
        return true;
    }
    publishRunning(library.get());
    if (const auto queryHistory = library->function<QueryHistoryFn>("QueryHistory")) {
        log(u"QueryHistory Call");
        const int32_t code = queryHistory(query, 0);
        if (result) {
            *result = code;
        }
        log(FormatText("\t --- lib: %s, returned: %d", fileName.c_str(), code));
    }
    std::lock_guard<std::mutex> guard(m_runningLock);
    m_running = nullptr;
    library.reset();
    return true;
}

int32_t CPluginLoader::FillBankCombo(BankComboSink& combo) {
    combo.clear();
    combo.addItem(u"Autodetekcja", 0);
    for (const ModuleEntry& entry : m_modules) {
        ModuleLibrary library(modulePath(entry));
        const auto getInfo = library.function<GetIBInfoFn>("getIBInfo");
        if (!getInfo) {
            continue;
        }
        std::u16string name(kInfoCapacity, u'\0');
        std::u16string credit(kInfoCapacity, u'\0');
        ModuleInfo info{sizeof(ModuleInfo), name.data(), kInfoCapacity, credit.data(),
                        kInfoCapacity};
        if (getInfo(entry.type, &info) != 0) {
            name.resize(name.find(u'\0') == std::u16string::npos ? name.size() : name.find(u'\0'));
            combo.addItem(name, entry.type);
        }
    }
    return static_cast<int32_t>(m_modules.size());
}

bool CPluginLoader::AbortRunningModule() {
    int32_t answer = 0;
    {
        std::lock_guard<std::mutex> guard(m_runningLock);
        if (!m_running) {
            return false;
        }
        const auto setAbort = m_running->function<SetAbortFlagFn>("setAbortFlag");
        if (!setAbort) {
            return false;
        }
        answer = setAbort();
    }
    // Logged outside the lock: a console that waits for the interface thread must never be
    // reached while the worker may be waiting for the lock.
    log(u"ABORT Call");
    log(FormatText("\t --- result: %d", answer));
    return answer != 0;
}
