// SPDX-License-Identifier: GPL-3.0-or-later
#include "AbortFlag.h"

std::atomic<bool>& AbortFlag() {
    static std::atomic<bool> flag{false};
    return flag;
}
