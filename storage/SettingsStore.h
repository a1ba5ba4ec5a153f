// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "SettingEntry.h"

// The program's keyed settings, kept in memory and written to one binary file ("ZEL2SDB20").
// Every operation holds the store's lock, so the interface thread and the download worker can
// share one instance.
class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path path);

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Replaces the entries by the file's content; returns their number. A missing, short or
    // foreign file gives an empty store.
    int32_t Load();

    // Writes every entry to the file atomically (temporary file, fsync, rename; mode 0600).
    // False when the file could not be written; the previous file is then left as it was.
    bool Save();

    // 1 and the value in out when the key exists, 0 and def when it does not.
    int32_t GetInt(const std::u16string& key, int32_t def, int32_t& out);
    // The value of the key, or def when it is absent.
    int32_t GetInt(const std::u16string& key, int32_t def);

    // 1 when an existing entry was changed, 2 when a new entry was appended.
    int32_t SetInt(const std::u16string& key, int32_t value);

    void Clear();

    // A copy of the entries in list order.
    std::vector<SettingEntry> Entries();
    // Replaces the entry with the same key (or appends one), type and flags included.
    void PutEntry(const SettingEntry& entry);

    const std::filesystem::path& path() const { return m_path; }

private:
    SettingEntry* find(const std::u16string& key);

    std::filesystem::path m_path;
    std::mutex m_lock;
    std::vector<SettingEntry> m_entries;
};
