// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cuts one fuzz input into several texts: pieces are separated by a byte 0x00 (the last piece
// takes the rest), so the fuzzer can grow each piece on its own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> SplitInput(const uint8_t* data, size_t size, size_t pieces) {
    std::vector<std::string> out;
    const std::string all(reinterpret_cast<const char*>(data), size);
    size_t from = 0;
    while (out.size() + 1 < pieces) {
        const size_t zero = all.find('\0', from);
        if (zero == std::string::npos) {
            break;
        }
        out.push_back(all.substr(from, zero - from));
        from = zero + 1;
    }
    out.push_back(from <= all.size() ? all.substr(from) : std::string());
    out.resize(pieces);
    return out;
}
