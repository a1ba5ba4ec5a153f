// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// AES-256-ECB with PKCS#7 padding under the program's fixed key: the enciphered values of the
// settings file.
class SettingsCipher {
public:
    // Always 16 * (plain length / 16 + 1) bytes.
    static std::vector<uint8_t> encipher(const std::vector<uint8_t>& plain);
    // Nothing when the length is not a positive multiple of 16 or the padding is wrong.
    static std::optional<std::vector<uint8_t>> decipher(const std::vector<uint8_t>& stored);
};
