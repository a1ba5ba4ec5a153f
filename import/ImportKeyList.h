// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One account's import keys (see ImportKeys.h) held as digests and counts rather than texts: a
// large file's keys as texts took more memory than a quarter of its operations. A key's text is
// made when it is asked for.

#include "Statement.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ImportKeyList {
public:
    ImportKeyList() = default;
    explicit ImportKeyList(const std::vector<const StatementOperation*>& ops);

    size_t size() const { return m_entries.size(); }
    // The key of the i-th operation given to the constructor, `op`, "#n" included.
    std::u16string key(size_t i, const StatementOperation& op) const;

private:
    struct Entry {
        std::array<unsigned char, 16> digest;  // of the fingerprint; unused for file identifiers
        uint32_t n;                            // the n-th operation with that base key
    };
    std::vector<Entry> m_entries;
};
