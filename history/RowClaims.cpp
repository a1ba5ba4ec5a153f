// SPDX-License-Identifier: GPL-3.0-or-later
#include "RowClaims.h"

#include <algorithm>

std::optional<RowClaims::Range> RowClaims::front(int32_t chunk) {
    uint64_t state = m_state.load();
    for (;;) {
        const int32_t next = nextOf(state);
        const int32_t end = endOf(state);
        if (next >= end) {
            return std::nullopt;
        }
        const auto taken = static_cast<int32_t>(std::min<int64_t>(int64_t{next} + chunk, end));
        if (m_state.compare_exchange_weak(state, pack(taken, end))) {
            return Range{next, taken};
        }
    }
}

std::optional<RowClaims::Range> RowClaims::backHalf(int32_t least) {
    uint64_t state = m_state.load();
    for (;;) {
        const int32_t next = nextOf(state);
        const int32_t end = endOf(state);
        if (int64_t{end} - next < least) {
            return std::nullopt;
        }
        const int32_t middle = next + (end - next) / 2;
        if (m_state.compare_exchange_weak(state, pack(next, middle))) {
            return Range{middle, end};
        }
    }
}
