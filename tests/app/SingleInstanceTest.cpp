// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "SingleInstance.h"

namespace {

std::string uniqueName() {
    return "tavro-test-lock-" + std::to_string(::getpid());
}

TEST(SingleInstanceTest, SecondHolderIsRefusedUntilTheFirstReleases) {
    SingleInstance first(uniqueName());
    SingleInstance second(uniqueName());
    ASSERT_TRUE(first.acquire());
    EXPECT_TRUE(first.acquire());
    EXPECT_FALSE(second.acquire());
    first.release();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstanceTest, EndOfOwnerReleasesTheLock) {
    {
        SingleInstance owner(uniqueName());
        ASSERT_TRUE(owner.acquire());
    }
    SingleInstance next(uniqueName());
    EXPECT_TRUE(next.acquire());
}

}  // namespace
