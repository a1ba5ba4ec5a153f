// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A SQLite file layer for tests: wraps the default VFS and, when armed, fails the Nth write,
// sync or lock of any file opened through it, the way a full disk or a failing device does.
// Open a connection through it with connection::open(path, FaultVfs::kName).

#include <cstdint>
#include <functional>
#include <mutex>

class FaultVfs {
public:
    static constexpr const char* kName = "tavro-fault";

    enum class Call { Write, Sync, Lock };
    enum class Fault {
        DiskFull,    // the write fails with SQLITE_FULL, nothing written
        ShortWrite,  // half the bytes reach the file, then SQLITE_FULL (a device that fills up)
        WriteError,  // SQLITE_IOERR_WRITE
        SyncError,   // SQLITE_IOERR_FSYNC
        LockError,   // SQLITE_IOERR_LOCK
    };

    // Registers the layer (not as the default) on first use.
    static FaultVfs& Instance();

    // From now on the nth call (1-based) of the fault's kind fails; with `persist`, every later
    // one too (a full disk stays full). Resets the counts.
    void arm(Fault fault, int64_t nth, bool persist);
    // No call fails any more; the counts go on.
    void disarm();
    void resetCounts();
    int64_t count(Call call) const;
    int64_t failures() const;

    // Told of every lock change of a main database file: true and the new level for xLock,
    // false and the new level for xUnlock. Runs on the caller's thread, under no lock.
    void setLockObserver(std::function<void(bool locking, int level)> observer);

    // The hooks the file methods call; each returns 0 to go on, else the code to fail with.
    int beforeCall(Call call);
    Fault armedFault() const;
    void observeLock(bool locking, int level);

private:
    FaultVfs();

    mutable std::mutex m_lock;
    int64_t m_counts[3] = {0, 0, 0};
    int64_t m_failures = 0;
    bool m_armed = false;
    Fault m_fault = Fault::DiskFull;
    int64_t m_nth = 0;
    bool m_persist = false;
    std::function<void(bool, int)> m_observer;
};
