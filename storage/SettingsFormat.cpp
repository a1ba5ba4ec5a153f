// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFormat.h"

#include <zlib.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "SettingsCipher.h"

namespace {

constexpr std::u16string_view kMagic{u"ZEL2SDB20\0", 10};
constexpr size_t kMagicBytes = kMagic.size() * 2;
constexpr size_t kCountOffset = 20;
constexpr size_t kTimeOffset = 24;
constexpr size_t kExtensionOffset = 36;
constexpr size_t kMaxLength = 0xFFFF;

void putLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void setLe(std::vector<uint8_t>& out, size_t at, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint64_t getLe(const std::vector<uint8_t>& in, size_t at, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<uint64_t>(in[at + i]) << (8 * i);
    }
    return value;
}

std::vector<uint8_t> keyBytes(const std::u16string& key) {
    std::vector<uint8_t> out;
    for (char16_t c : key) {
        putLe(out, c, 2);
    }
    return out;
}

// Like a zero-terminated wide string read from a zeroed buffer one character longer.
std::u16string keyText(const uint8_t* bytes, size_t length) {
    std::u16string key;
    for (size_t i = 0; i < length; i += 2) {
        const char16_t c =
            static_cast<char16_t>(bytes[i] | (i + 1 < length ? bytes[i + 1] << 8 : 0));
        if (c == 0) {
            break;
        }
        key.push_back(c);
    }
    return key;
}

bool magicMatches(const std::vector<uint8_t>& file) {
    for (size_t i = 0; i < kMagic.size(); ++i) {
        if (getLe(file, i * 2, 2) != kMagic[i]) {
            return false;
        }
    }
    return true;
}

void appendRecord(std::vector<uint8_t>& out, const SettingEntry& entry) {
    const uint32_t flags =
        (entry.flags & ~uint32_t{SettingEntry::ClearedOnWrite}) | SettingEntry::CrcChecked;
    const std::vector<uint8_t> value =
        (flags & SettingEntry::Enciphered) ? SettingsCipher::encipher(entry.value) : entry.value;
    const std::vector<uint8_t> key = keyBytes(entry.key);
    // An empty part has nothing to store; an oversized one would not fit its 16-bit length.
    if (key.empty() || value.empty() || key.size() > kMaxLength || value.size() > kMaxLength) {
        return;
    }
    putLe(out, key.size(), 2);
    putLe(out, value.size(), 2);
    putLe(out, static_cast<uint8_t>(entry.type), 1);
    putLe(out, flags, 4);
    putLe(out, SettingsFormat::kMarker, 1);
    putLe(out, SettingsFormat::crc(value), 4);
    putLe(out, 0, 4);
    out.insert(out.end(), key.begin(), key.end());
    out.insert(out.end(), value.begin(), value.end());
}

// Reads the record at pos; nothing when it is to be dropped. Advances pos past it.
std::optional<SettingEntry> readRecord(const std::vector<uint8_t>& file, size_t& pos) {
    const size_t keyLength = getLe(file, pos, 2);
    const size_t valueLength = getLe(file, pos + 2, 2);
    const uint8_t type = file[pos + 4];
    const uint32_t flags = static_cast<uint32_t>(getLe(file, pos + 5, 4));
    const uint8_t marker = file[pos + 9];
    const uint32_t storedCrc = static_cast<uint32_t>(getLe(file, pos + 10, 4));
    const size_t keyAt = pos + SettingsFormat::kRecordHeaderSize;
    pos = keyAt + keyLength + valueLength;
    if (marker != SettingsFormat::kMarker) {
        return std::nullopt;
    }
    const auto valueAt = file.begin() + static_cast<std::ptrdiff_t>(keyAt + keyLength);
    std::vector<uint8_t> value(valueAt, valueAt + static_cast<std::ptrdiff_t>(valueLength));
    if ((flags & SettingEntry::CrcChecked) && SettingsFormat::crc(value) != storedCrc) {
        return std::nullopt;
    }
    if (flags & SettingEntry::Enciphered) {
        auto plain = SettingsCipher::decipher(value);
        if (!plain) {
            return std::nullopt;
        }
        value = std::move(*plain);
    }
    return SettingEntry{keyText(file.data() + keyAt, keyLength), type, flags, std::move(value)};
}

}  // namespace

uint32_t SettingsFormat::crc(const std::vector<uint8_t>& bytes) {
    return static_cast<uint32_t>(
        ::crc32(::crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

std::vector<uint8_t> SettingsFormat::encode(const std::vector<SettingEntry>& entries,
                                            int64_t writtenAt) {
    std::vector<uint8_t> out(kHeaderSize, 0);
    for (size_t i = 0; i < kMagic.size(); ++i) {
        setLe(out, i * 2, kMagic[i], 2);
    }
    setLe(out, kCountOffset, entries.size(), 4);
    setLe(out, kTimeOffset, static_cast<uint64_t>(writtenAt), 8);
    for (const SettingEntry& entry : entries) {
        appendRecord(out, entry);
    }
    return out;
}

std::vector<SettingEntry> SettingsFormat::decode(const std::vector<uint8_t>& file) {
    std::vector<SettingEntry> entries;
    if (file.size() < kHeaderSize || !magicMatches(file)) {
        return entries;
    }
    static_assert(kMagicBytes <= kCountOffset);
    const auto extension = static_cast<int32_t>(getLe(file, kExtensionOffset, 4));
    if (extension < 0) {
        return entries;
    }
    size_t pos = kHeaderSize + static_cast<size_t>(extension);
    // A record header or a record that claims more bytes than remain ends the reading.
    while (pos < file.size() && file.size() - pos >= kRecordHeaderSize) {
        const size_t claimed = kRecordHeaderSize + getLe(file, pos, 2) + getLe(file, pos + 2, 2);
        if (claimed > file.size() - pos) {
            break;
        }
        if (auto entry = readRecord(file, pos)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}
