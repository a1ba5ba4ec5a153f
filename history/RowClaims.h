// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

// Rows [0, end) shared by two readers at once without a lock: one takes chunks from the front
// as it goes, the other takes the back half of what is left. The front and the back are one
// atomic word, so that no row is taken twice or left out.
class RowClaims {
public:
    struct Range {
        int32_t first = 0;
        int32_t end = 0;  // one past the last
    };

    void reset(int32_t end) { m_state.store(pack(0, end)); }
    // The next `chunk` rows (fewer at the end), or nothing when none are left.
    std::optional<Range> front(int32_t chunk);
    // The back half of the rows left, when at least `least` are left.
    std::optional<Range> backHalf(int32_t least);
    int32_t left() const {
        const uint64_t state = m_state.load();
        return endOf(state) - nextOf(state);
    }
    // Where the front's rows end: lower than at reset() once the back half was taken.
    int32_t end() const { return endOf(m_state.load()); }

private:
    static uint64_t pack(int32_t next, int32_t end) {
        return uint64_t{static_cast<uint32_t>(next)} << 32 | static_cast<uint32_t>(end);
    }
    static int32_t nextOf(uint64_t state) { return static_cast<int32_t>(state >> 32); }
    static int32_t endOf(uint64_t state) { return static_cast<int32_t>(state & 0xFFFFFFFFu); }

    std::atomic<uint64_t> m_state{0};
};
