// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultVfs.h"

#include <sqlite3.h>

#include <cstring>
#include <stdexcept>

namespace {

sqlite3_vfs* g_real = nullptr;

// The wrapper's file: our header, then the real file the default VFS fills in.
struct FaultFile {
    sqlite3_file base;
    bool mainDatabase;
};

sqlite3_file* realOf(sqlite3_file* file) {
    return reinterpret_cast<sqlite3_file*>(reinterpret_cast<FaultFile*>(file) + 1);
}

FaultVfs::Call callOf(FaultVfs::Fault fault) {
    switch (fault) {
        case FaultVfs::Fault::SyncError:
            return FaultVfs::Call::Sync;
        case FaultVfs::Fault::LockError:
            return FaultVfs::Call::Lock;
        default:
            return FaultVfs::Call::Write;
    }
}

int faultClose(sqlite3_file* f) {
    sqlite3_file* real = realOf(f);
    return real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
}

int faultRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xRead(real, buffer, amount, offset);
}

int faultWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
    sqlite3_file* real = realOf(f);
    FaultVfs& vfs = FaultVfs::Instance();
    if (const int code = vfs.beforeCall(FaultVfs::Call::Write)) {
        if (vfs.armedFault() == FaultVfs::Fault::ShortWrite && amount > 1) {
            real->pMethods->xWrite(real, buffer, amount / 2, offset);
        }
        return code;
    }
    return real->pMethods->xWrite(real, buffer, amount, offset);
}

int faultTruncate(sqlite3_file* f, sqlite3_int64 size) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xTruncate(real, size);
}

int faultSync(sqlite3_file* f, int flags) {
    if (const int code = FaultVfs::Instance().beforeCall(FaultVfs::Call::Sync)) {
        return code;
    }
    sqlite3_file* real = realOf(f);
    return real->pMethods->xSync(real, flags);
}

int faultFileSize(sqlite3_file* f, sqlite3_int64* size) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xFileSize(real, size);
}

int faultLock(sqlite3_file* f, int level) {
    FaultVfs& vfs = FaultVfs::Instance();
    if (const int code = vfs.beforeCall(FaultVfs::Call::Lock)) {
        return code;
    }
    sqlite3_file* real = realOf(f);
    const int result = real->pMethods->xLock(real, level);
    if (result == SQLITE_OK && reinterpret_cast<FaultFile*>(f)->mainDatabase) {
        vfs.observeLock(true, level);
    }
    return result;
}

int faultUnlock(sqlite3_file* f, int level) {
    FaultVfs& vfs = FaultVfs::Instance();
    if (reinterpret_cast<FaultFile*>(f)->mainDatabase) {
        vfs.observeLock(false, level);
    }
    sqlite3_file* real = realOf(f);
    return real->pMethods->xUnlock(real, level);
}

int faultCheckReservedLock(sqlite3_file* f, int* out) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xCheckReservedLock(real, out);
}

int faultFileControl(sqlite3_file* f, int op, void* arg) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xFileControl(real, op, arg);
}

int faultSectorSize(sqlite3_file* f) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xSectorSize(real);
}

int faultDeviceCharacteristics(sqlite3_file* f) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xDeviceCharacteristics(real);
}

// Version 1 methods: no shared memory (no WAL) and no memory mapping through this layer.
const sqlite3_io_methods kMethods = {
    1,
    faultClose,
    faultRead,
    faultWrite,
    faultTruncate,
    faultSync,
    faultFileSize,
    faultLock,
    faultUnlock,
    faultCheckReservedLock,
    faultFileControl,
    faultSectorSize,
    faultDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int faultOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    auto* file = reinterpret_cast<FaultFile*>(f);
    file->base.pMethods = nullptr;
    file->mainDatabase = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    sqlite3_file* real = realOf(f);
    const int result = g_real->xOpen(g_real, name, real, flags, outFlags);
    if (real->pMethods) {
        file->base.pMethods = &kMethods;
    }
    return result;
}

int faultDelete(sqlite3_vfs*, const char* name, int syncDir) {
    return g_real->xDelete(g_real, name, syncDir);
}

int faultAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    return g_real->xAccess(g_real, name, flags, out);
}

int faultFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return g_real->xFullPathname(g_real, name, size, out);
}

int faultRandomness(sqlite3_vfs*, int size, char* out) {
    return g_real->xRandomness(g_real, size, out);
}

int faultSleep(sqlite3_vfs*, int microseconds) {
    return g_real->xSleep(g_real, microseconds);
}

int faultCurrentTime(sqlite3_vfs*, double* out) {
    return g_real->xCurrentTime(g_real, out);
}

int faultLastError(sqlite3_vfs*, int size, char* out) {
    return g_real->xGetLastError(g_real, size, out);
}

int faultCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    return g_real->xCurrentTimeInt64(g_real, out);
}

sqlite3_vfs g_vfs;

}  // namespace

FaultVfs::FaultVfs() {
    sqlite3_initialize();
    g_real = sqlite3_vfs_find(nullptr);
    if (!g_real || g_real->iVersion < 2) {
        throw std::runtime_error("no default SQLite VFS of version 2");
    }
    std::memset(&g_vfs, 0, sizeof g_vfs);
    g_vfs.iVersion = 2;
    g_vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + g_real->szOsFile;
    g_vfs.mxPathname = g_real->mxPathname;
    g_vfs.zName = kName;
    g_vfs.xOpen = faultOpen;
    g_vfs.xDelete = faultDelete;
    g_vfs.xAccess = faultAccess;
    g_vfs.xFullPathname = faultFullPathname;
    g_vfs.xRandomness = faultRandomness;
    g_vfs.xSleep = faultSleep;
    g_vfs.xCurrentTime = faultCurrentTime;
    g_vfs.xGetLastError = faultLastError;
    g_vfs.xCurrentTimeInt64 = faultCurrentTimeInt64;
    sqlite3_vfs_register(&g_vfs, 0);
}

FaultVfs& FaultVfs::Instance() {
    static FaultVfs instance;
    return instance;
}

void FaultVfs::arm(Fault fault, int64_t nth, bool persist) {
    std::lock_guard lock(m_lock);
    m_armed = true;
    m_fault = fault;
    m_nth = nth;
    m_persist = persist;
    m_failures = 0;
    std::memset(m_counts, 0, sizeof m_counts);
}

void FaultVfs::disarm() {
    std::lock_guard lock(m_lock);
    m_armed = false;
}

void FaultVfs::resetCounts() {
    std::lock_guard lock(m_lock);
    std::memset(m_counts, 0, sizeof m_counts);
    m_failures = 0;
}

int64_t FaultVfs::count(Call call) const {
    std::lock_guard lock(m_lock);
    return m_counts[static_cast<int>(call)];
}

int64_t FaultVfs::failures() const {
    std::lock_guard lock(m_lock);
    return m_failures;
}

FaultVfs::Fault FaultVfs::armedFault() const {
    std::lock_guard lock(m_lock);
    return m_fault;
}

void FaultVfs::setLockObserver(std::function<void(bool, int)> observer) {
    std::lock_guard lock(m_lock);
    m_observer = std::move(observer);
}

void FaultVfs::observeLock(bool locking, int level) {
    std::function<void(bool, int)> observer;
    {
        std::lock_guard lock(m_lock);
        observer = m_observer;
    }
    if (observer) {
        observer(locking, level);
    }
}

int FaultVfs::beforeCall(Call call) {
    std::lock_guard lock(m_lock);
    const int64_t n = ++m_counts[static_cast<int>(call)];
    if (!m_armed || callOf(m_fault) != call || n < m_nth || (n > m_nth && !m_persist)) {
        return 0;
    }
    ++m_failures;
    switch (m_fault) {
        case Fault::DiskFull:
        case Fault::ShortWrite:
            return SQLITE_FULL;
        case Fault::WriteError:
            return SQLITE_IOERR_WRITE;
        case Fault::SyncError:
            return SQLITE_IOERR_FSYNC;
        case Fault::LockError:
            return SQLITE_IOERR_LOCK;
    }
    return SQLITE_IOERR;
}
