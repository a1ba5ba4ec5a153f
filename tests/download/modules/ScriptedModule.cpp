// SPDX-License-Identifier: GPL-3.0-or-later
// A module that plays a script instead of talking to a bank. The script is the file
// "script-<user>.txt" beside the module file, one tab-separated command per line:
//   account <26 digits>          sets the query's account field
//   op <tid> <direction> <kind> <amount> <date1> <date2> <cp account> <cp name> <title>
//   progress <percent> [<text>]
//   block                         waits for setAbortFlag (at most 20 s)
//   result <code>                 the code returned at the end (default 0)
// Texts are passed on byte for byte (Windows-1250). Every call appends a line to calls.log.
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ModuleInterface.h"

namespace {

std::atomic<bool> g_abort{false};
const int32_t kTable[] = {5, 12345678, 0};

std::string ownFolder() {
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&ownFolder), &info);
    std::string path = info.dli_fname ? info.dli_fname : "";
    return path.substr(0, path.rfind('/') + 1);
}

std::string narrow(const char16_t* text) {
    std::string out;
    for (; text && *text; ++text) {
        out += static_cast<char>(*text);
    }
    return out;
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

void deliver(HistoryQuery* query, const std::vector<std::string>& f) {
    if (f.size() < 10 || !query->onOperation) {
        return;
    }
    OperationRecord record{};
    record.size = sizeof(OperationRecord);
    record.tid = std::stoi(f[1]);
    record.direction = std::stoi(f[2]);
    record.kind = std::stoi(f[3]);
    record.amount = std::stod(f[4]);
    record.operationDate = std::stoll(f[5]);
    record.postingDate = std::stoll(f[6]);
    record.kindText = "";
    record.amountText = f[4].c_str();
    record.counterpartyAccount = f[7].c_str();
    record.counterpartyName = f[8].c_str();
    record.title = f[9].c_str();
    query->onOperation(&query->context, &record);
}

void progress(HistoryQuery* query, const std::vector<std::string>& f) {
    if (f.size() < 2) {
        return;
    }
    const std::u16string text = f.size() > 2 ? std::u16string(f[2].begin(), f[2].end()) : u"";
    query->onProgress(&query->context, std::stoi(f[1]), f.size() > 2 ? text.c_str() : nullptr);
}

void waitForAbort() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!g_abort.load() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

extern "C" const int32_t* getIBType(void) {
    return kTable;
}

extern "C" int32_t QueryHistory(HistoryQuery* query, int32_t) {
    const std::string folder = ownFolder();
    const std::string user = narrow(query->user);
    std::ofstream(folder + "calls.log", std::ios::app)
        << user << ' ' << query->days << ' ' << query->accountCount << ' '
        << narrow(query->accounts[0]) << '\n';
    int32_t result = 0;
    std::ifstream script(folder + "script-" + user + ".txt");
    std::string line;
    while (std::getline(script, line)) {
        const std::vector<std::string> f = split(line);
        if (f.empty()) {
            continue;
        }
        if (f[0] == "account" && f.size() > 1) {
            std::strncpy(query->account, f[1].c_str(), sizeof query->account - 1);
        } else if (f[0] == "op") {
            deliver(query, f);
        } else if (f[0] == "progress") {
            progress(query, f);
        } else if (f[0] == "block") {
            waitForAbort();
        } else if (f[0] == "result" && f.size() > 1) {
            result = std::stoi(f[1]);
        }
    }
    return g_abort.exchange(false) ? ResultCode::Cancelled : result;
}

extern "C" int32_t getIBInfo(int32_t, ModuleInfo* info) {
    const char16_t name[] = u"Bank skryptowy";
    if (!info || 14 >= info->nameCapacity) {
        return 0;
    }
    std::memcpy(info->name, name, sizeof name);
    return 1;
}

extern "C" int32_t setAbortFlag(void) {
    g_abort = true;
    return 1;
}
