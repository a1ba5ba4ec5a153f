// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The binary interface between Tavro and every bank module (*.module in banki/).
// This is the ABI for third-party modules too: records are plain C structs with fixed
// offsets on 64-bit Linux, every record starts with its own size, and no C++ object or
// exception crosses the boundary. Texts in OperationRecord are Windows-1250.

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HostContext {
    int32_t newCount;  // operations new to the database in this job
    double newSum;     // their amounts added up
    void* owner;       // the host's own state
} HostContext;

typedef struct OperationRecord {
    int32_t size;  // sizeof(OperationRecord)
    int32_t reserved;
    int64_t operationDate;  // seconds since 1970 UTC of 12:00 local time of the day
    int64_t postingDate;
    int32_t reserved2;
    int32_t tid;        // the bank's own operation number
    int32_t direction;  // 1 = money in, 0 = money out
    int32_t kind;       // 0..22, 0 = not classified
    const char* kindText;
    double amount;  // negative for money out
    const char* amountText;
    const char* counterpartyAccount;
    const char* counterpartyName;
    const char* title;
} OperationRecord;

typedef int32_t (*OperationCallback)(HostContext* context, const OperationRecord* record);
typedef void (*ProgressCallback)(HostContext* context, int32_t percent, const char16_t* text);

typedef struct HistoryQuery {
    int32_t size;  // sizeof(HistoryQuery)
    int32_t reserved;
    HostContext context;  // passed to both callbacks; never touched by the module
    char account[32];     // output: the account being processed, 26 digits, zero-terminated
    const char16_t* user;
    const char16_t* password;
    const char16_t* const* accounts;
    int32_t accountCount;
    int32_t reserved2;
    OperationCallback onOperation;  // may be null
    ProgressCallback onProgress;
    int32_t days;
    int32_t options;  // bit value 4: diagnostic report per operation
} HistoryQuery;

typedef struct ModuleInfo {
    int32_t size;
    char16_t* name;
    int32_t nameCapacity;
    char16_t* credit;
    int32_t creditCapacity;
} ModuleInfo;

typedef int32_t (*QueryHistoryFn)(HistoryQuery* query, int32_t reserved);
typedef int32_t (*GetIBInfoFn)(int32_t type, ModuleInfo* info);
typedef const int32_t* (*GetIBTypeFn)(void);
typedef int32_t (*SetAbortFlagFn)(void);

// The four exports of a module.
int32_t QueryHistory(HistoryQuery* query, int32_t reserved);
int32_t getIBInfo(int32_t type, ModuleInfo* info);
const int32_t* getIBType(void);
int32_t setAbortFlag(void);

#ifdef __cplusplus
}  // extern "C"

// Result codes of QueryHistory.
namespace ResultCode {
inline constexpr int32_t Success = 0;
inline constexpr int32_t NoConnection = -1;
inline constexpr int32_t NoSession = -2;
inline constexpr int32_t RequestFailed = -3;
inline constexpr int32_t MissingField = -5;
inline constexpr int32_t LogOnFailed = -7;
inline constexpr int32_t Cancelled = -8;
inline constexpr int32_t NoQuery = -10;
inline constexpr int32_t WrongSize = -11;
inline constexpr int32_t BadAccountNumber = -14;
}  // namespace ResultCode

inline constexpr int32_t kDiagnosticOption = 4;

// The layout is fixed: a module built elsewhere must agree byte for byte.
static_assert(sizeof(HostContext) == 24);
static_assert(offsetof(HostContext, newCount) == 0);
static_assert(offsetof(HostContext, newSum) == 8);
static_assert(offsetof(HostContext, owner) == 16);

static_assert(sizeof(OperationRecord) == 88);
static_assert(offsetof(OperationRecord, size) == 0);
static_assert(offsetof(OperationRecord, reserved) == 4);
static_assert(offsetof(OperationRecord, operationDate) == 8);
static_assert(offsetof(OperationRecord, postingDate) == 16);
static_assert(offsetof(OperationRecord, reserved2) == 24);
static_assert(offsetof(OperationRecord, tid) == 28);
static_assert(offsetof(OperationRecord, direction) == 32);
static_assert(offsetof(OperationRecord, kind) == 36);
static_assert(offsetof(OperationRecord, kindText) == 40);
static_assert(offsetof(OperationRecord, amount) == 48);
static_assert(offsetof(OperationRecord, amountText) == 56);
static_assert(offsetof(OperationRecord, counterpartyAccount) == 64);
static_assert(offsetof(OperationRecord, counterpartyName) == 72);
static_assert(offsetof(OperationRecord, title) == 80);

static_assert(sizeof(HistoryQuery) == 120);
static_assert(offsetof(HistoryQuery, size) == 0);
static_assert(offsetof(HistoryQuery, reserved) == 4);
static_assert(offsetof(HistoryQuery, context) == 8);
static_assert(offsetof(HistoryQuery, account) == 32);
static_assert(offsetof(HistoryQuery, user) == 64);
static_assert(offsetof(HistoryQuery, password) == 72);
static_assert(offsetof(HistoryQuery, accounts) == 80);
static_assert(offsetof(HistoryQuery, accountCount) == 88);
static_assert(offsetof(HistoryQuery, reserved2) == 92);
static_assert(offsetof(HistoryQuery, onOperation) == 96);
static_assert(offsetof(HistoryQuery, onProgress) == 104);
static_assert(offsetof(HistoryQuery, days) == 112);
static_assert(offsetof(HistoryQuery, options) == 116);

static_assert(sizeof(ModuleInfo) == 40);
static_assert(offsetof(ModuleInfo, size) == 0);
static_assert(offsetof(ModuleInfo, name) == 8);
static_assert(offsetof(ModuleInfo, nameCapacity) == 16);
static_assert(offsetof(ModuleInfo, credit) == 24);
static_assert(offsetof(ModuleInfo, creditCapacity) == 32);

// The host reaches its query from the context pointer handed to a callback.
inline HistoryQuery* QueryFromContext(HostContext* context) {
    return reinterpret_cast<HistoryQuery*>(reinterpret_cast<char*>(context) -
                                           offsetof(HistoryQuery, context));
}
#endif
