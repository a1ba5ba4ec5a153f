// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One keyed value of the settings store, as held in memory (plain, never enciphered).
struct SettingEntry {
    enum Type : int32_t { Integer = 1, Text = 2 };
    enum Flag : uint32_t { Enciphered = 1, CrcChecked = 2, ClearedOnWrite = 4 };

    std::u16string key;
    int32_t type = Integer;
    uint32_t flags = 0;
    std::vector<uint8_t> value;  // its size is the entry's length
};
