// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the walk through an account's list pages finite: a site that offers older operations
// forever would otherwise hold a scheduled download, which nobody cancels, until the end of time.

#include <cstddef>
#include <string>
#include <unordered_set>

class ListWalkGuard {
public:
    // 100 000 operations at the site's ten a page: more than 27 a day for ten years, which no
    // private account's history reaches.
    static constexpr size_t kMaxPages = 10000;

    // Takes the next list page of the account, the first one included; false when the walk must
    // stop: the page shows the same operations as a page already read, or it is page
    // kMaxPages + 1.
    bool accept(const std::string& page);

private:
    std::unordered_set<size_t> m_seen;  // hashes of the pages' fingerprints
    size_t m_pages = 0;
};
