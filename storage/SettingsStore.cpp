// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsStore.h"

#include <algorithm>
#include <climits>
#include <ctime>
#include <fstream>
#include <iterator>

#include "AtomicFileWriter.h"
#include "SettingsFormat.h"

namespace {

bool isWideSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

int digitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'z') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'Z') {
        return c - u'A' + 10;
    }
    return 99;
}

// Wide text to a 32-bit long with base 0 (decimal, "0x" hexadecimal, leading "0" octal),
// saturating at the 32-bit limits as the conversion does where long has 32 bits.
int32_t textToLong(const std::u16string& text) {
    size_t i = 0;
    while (i < text.size() && isWideSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i++] == u'-';
    }
    int base = 10;
    if (i < text.size() && text[i] == u'0') {
        base = 8;
        if (i + 2 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
            digitValue(text[i + 2]) < 16) {
            base = 16;
            i += 2;
        }
    }
    int64_t value = 0;
    for (; i < text.size() && digitValue(text[i]) < base; ++i) {
        value = std::min<int64_t>(value * base + digitValue(text[i]), int64_t{INT32_MAX} + 1);
    }
    value = negative ? -value : value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The stored text up to its length or its first zero character.
std::u16string entryText(const std::vector<uint8_t>& value) {
    std::u16string text;
    for (size_t i = 0; i + 1 < value.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(value[i] | (value[i + 1] << 8));
        if (c == 0) {
            break;
        }
        text.push_back(c);
    }
    return text;
}

std::vector<uint8_t> intBytes(int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path path) : m_path(std::move(path)) {}

SettingEntry* SettingsStore::find(const std::u16string& key) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const SettingEntry& e) { return e.key == key; });
    return it == m_entries.end() ? nullptr : &*it;
}

int32_t SettingsStore::Load() {
    std::lock_guard lock(m_lock);
    m_entries.clear();
    std::ifstream in(m_path, std::ios::binary);
    if (in) {
        const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
        m_entries = SettingsFormat::decode(file);
    }
    return static_cast<int32_t>(m_entries.size());
}

bool SettingsStore::Save() {
    std::lock_guard lock(m_lock);
    return AtomicFileWriter::write(m_path, SettingsFormat::encode(m_entries, std::time(nullptr)));
}

int32_t SettingsStore::GetInt(const std::u16string& key, int32_t def, int32_t& out) {
    std::lock_guard lock(m_lock);
    const SettingEntry* entry = find(key);
    out = def;
    if (!entry) {
        return 0;
    }
    if (entry->type == SettingEntry::Integer && entry->value.size() >= 4) {
        const auto& v = entry->value;
        out = static_cast<int32_t>(static_cast<uint32_t>(v[0]) | static_cast<uint32_t>(v[1]) << 8 |
                                   static_cast<uint32_t>(v[2]) << 16 |
                                   static_cast<uint32_t>(v[3]) << 24);
    } else if (entry->type == SettingEntry::Text) {
        out = textToLong(entryText(entry->value));
    }
    // Any other type (or a short integer) has no value to give: the default stands.
    return 1;
}

int32_t SettingsStore::GetInt(const std::u16string& key, int32_t def) {
    int32_t out = def;
    GetInt(key, def, out);
    return out;
}

int32_t SettingsStore::SetInt(const std::u16string& key, int32_t value) {
    std::lock_guard lock(m_lock);
    SettingEntry* entry = find(key);
    if (!entry) {
        m_entries.push_back(SettingEntry{key, SettingEntry::Integer, 0, intBytes(value)});
        return 2;
    }
    if (entry->type != SettingEntry::Integer) {
        entry->type = SettingEntry::Integer;
        entry->flags = 0;
    }
    entry->value = intBytes(value);
    return 1;
}

void SettingsStore::Clear() {
    std::lock_guard lock(m_lock);
    m_entries.clear();
}

std::vector<SettingEntry> SettingsStore::Entries() {
    std::lock_guard lock(m_lock);
    return m_entries;
}

void SettingsStore::PutEntry(const SettingEntry& entry) {
    std::lock_guard lock(m_lock);
    if (SettingEntry* existing = find(entry.key)) {
        *existing = entry;
    } else {
        m_entries.push_back(entry);
    }
}
