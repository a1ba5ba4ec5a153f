// SPDX-License-Identifier: GPL-3.0-or-later
// Two readers sharing the rows: the front taken chunk by chunk, the back half of what is left
// taken again and again meanwhile; every row is taken exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "RowClaims.h"

TEST(RowClaimsTest, FrontAndBackHalvesTakeEachRowOnce) {
    for (int round = 0; round < 50; ++round) {
        RowClaims claims;
        claims.reset(10007);
        std::vector<RowClaims::Range> front;
        std::vector<RowClaims::Range> back;
        std::thread reader([&] {
            while (const auto range = claims.front(3)) {
                front.push_back(*range);
            }
        });
        while (const auto range = claims.backHalf(2)) {
            back.push_back(*range);
        }
        reader.join();
        std::vector<int> taken(10007, 0);
        for (const auto* ranges : {&front, &back}) {
            for (const RowClaims::Range& range : *ranges) {
                for (int row = range.first; row < range.end; ++row) {
                    ++taken[row];
                }
            }
        }
        EXPECT_EQ(std::count(taken.begin(), taken.end(), 1), 10007) << round;
        EXPECT_FALSE(claims.front(3));
    }
}
