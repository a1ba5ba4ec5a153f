// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One log-on's accounts to download, as the main window builds it.
struct DownloadJob {
    std::u16string user;                   // a_user
    std::u16string password;               // a_pass
    std::vector<std::u16string> accounts;  // a_number of each account, at least one
    std::vector<std::u16string> names;     // a_name of the same accounts; the first titles notes
    int32_t days = 2;
    int32_t options = 0;
    int32_t type = 0;  // a_type of the last account; 0 or less: chosen by the first number
};
