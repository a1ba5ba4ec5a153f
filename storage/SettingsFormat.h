// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "SettingEntry.h"

// The settings file's bytes ("ZEL2SDB20"): a 48-byte header, then one record per entry.
// Decoding never reads outside the given bytes.
class SettingsFormat {
public:
    static constexpr size_t kHeaderSize = 48;
    static constexpr size_t kRecordHeaderSize = 18;
    static constexpr uint8_t kMarker = 0xAA;

    // The whole file for these entries, stamped with the given time of writing.
    static std::vector<uint8_t> encode(const std::vector<SettingEntry>& entries, int64_t writtenAt);

    // The entries of a file; empty for a short or foreign one. Records with a failed CRC or an
    // undecipherable value are dropped; a record running past the end stops the reading.
    static std::vector<SettingEntry> decode(const std::vector<uint8_t>& file);

    // CRC-32 as zlib and PNG compute it.
    static uint32_t crc(const std::vector<uint8_t>& bytes);
};
