// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the settings file: loading never fails or reads outside the file, and what was
// loaded survives being written and read back.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "SettingsFormat.h"
#include "SettingsStore.h"

namespace {

// In memory when the machine offers it: a file rewritten in place on disk is flushed at every
// close, which would slow the fuzzer down a hundredfold.
const std::filesystem::path& scratchFile() {
    static const std::filesystem::path path =
        (std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path()) /
        ("tavro-fuzz-settings-" + std::to_string(getpid()));
    return path;
}

bool sameEntry(const SettingEntry& a, const SettingEntry& b) {
    return a.key == b.key && a.type == b.type && a.flags == b.flags && a.value == b.value;
}

// What a written entry reads back as: entries with nothing to store are left out, the written
// flags always ask for the CRC and never carry the "cleared on write" bit.
std::vector<SettingEntry> expectedAfterWriting(const std::vector<SettingEntry>& entries) {
    std::vector<SettingEntry> out;
    for (SettingEntry e : entries) {
        if (e.key.empty() || e.value.empty()) {
            continue;
        }
        e.flags = (e.flags & ~uint32_t{SettingEntry::ClearedOnWrite}) | SettingEntry::CrcChecked;
        e.type = static_cast<uint8_t>(e.type);
        out.push_back(e);
    }
    return out;
}

void checkSame(const std::vector<SettingEntry>& a, const std::vector<SettingEntry>& b,
               const char* what) {
    FUZZ_CHECK(a.size() == b.size(), what);
    for (size_t i = 0; i < a.size(); ++i) {
        FUZZ_CHECK(sameEntry(a[i], b[i]), what);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    const std::vector<SettingEntry> decoded = SettingsFormat::decode(bytes);

    {
        std::error_code ignored;
        std::filesystem::remove(scratchFile(), ignored);
        std::ofstream out(scratchFile(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    SettingsStore store(scratchFile());
    const int32_t count = store.Load();
    FUZZ_CHECK(count == static_cast<int32_t>(decoded.size()), "Load counts what decode finds");
    checkSame(store.Entries(), decoded, "Load reads what decode reads");

    // Every key answers, whatever its type and length.
    for (const SettingEntry& e : decoded) {
        int32_t out = 0;
        FUZZ_CHECK(store.GetInt(e.key, 7, out) == 1, "a loaded key is found");
    }
    if (!decoded.empty()) {
        const std::u16string key = decoded.front().key;
        store.SetInt(key, -123456);
        FUZZ_CHECK(store.GetInt(key, 0) == -123456, "SetInt then GetInt");
    }

    const std::vector<uint8_t> written = SettingsFormat::encode(decoded, 0);
    checkSame(SettingsFormat::decode(written), expectedAfterWriting(decoded),
              "written entries read back unchanged");
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove(scratchFile(), ignored);
    });
    return 0;
}
