// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds settings files byte by byte, independently of the store's own writer.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace settings_bytes {

inline void put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

inline uint32_t crcOf(const std::vector<uint8_t>& bytes) {
    return static_cast<uint32_t>(
        crc32(crc32(0, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

inline std::vector<uint8_t> header(uint32_t count, int64_t time = 0, int32_t extension = 0) {
    std::vector<uint8_t> out;
    for (char16_t c : std::u16string(u"ZEL2SDB20")) {
        put(out, c, 2);
    }
    put(out, 0, 2);
    put(out, count, 4);
    put(out, static_cast<uint64_t>(time), 8);
    put(out, 0, 4);
    put(out, static_cast<uint32_t>(extension), 4);
    put(out, 0, 8);
    return out;
}

inline std::vector<uint8_t> utf16(const std::u16string& text) {
    std::vector<uint8_t> out;
    for (char16_t c : text) {
        put(out, c, 2);
    }
    return out;
}

inline std::vector<uint8_t> int32(int32_t value) {
    std::vector<uint8_t> out;
    put(out, static_cast<uint32_t>(value), 4);
    return out;
}

struct Record {
    std::u16string key;
    uint8_t type = 1;
    uint32_t flags = 2;
    std::vector<uint8_t> value;
    uint8_t marker = 0xAA;
    bool crcRight = true;
};

inline void append(std::vector<uint8_t>& file, const Record& r) {
    const std::vector<uint8_t> key = utf16(r.key);
    put(file, key.size(), 2);
    put(file, r.value.size(), 2);
    put(file, r.type, 1);
    put(file, r.flags, 4);
    put(file, r.marker, 1);
    put(file, crcOf(r.value) ^ (r.crcRight ? 0u : 1u), 4);
    put(file, 0, 4);
    file.insert(file.end(), key.begin(), key.end());
    file.insert(file.end(), r.value.begin(), r.value.end());
}

inline std::vector<uint8_t> file(const std::vector<Record>& records) {
    std::vector<uint8_t> out = header(static_cast<uint32_t>(records.size()));
    for (const Record& r : records) {
        append(out, r);
    }
    return out;
}

// The time of writing is the only field that may differ between two saves.
inline std::vector<uint8_t> withoutTime(std::vector<uint8_t> bytes) {
    for (size_t i = 24; i < 32 && i < bytes.size(); ++i) {
        bytes[i] = 0;
    }
    return bytes;
}

}  // namespace settings_bytes
