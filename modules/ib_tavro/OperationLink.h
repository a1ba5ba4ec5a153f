// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One operation found on a list page: what to post to reach its details page.

#include <string>

struct OperationLink {
    std::string parameters;  // the fourth argument of the item's link call
    std::string sign;        // "-" for money out, empty for money in
    std::string path;        // server-relative details path
};
