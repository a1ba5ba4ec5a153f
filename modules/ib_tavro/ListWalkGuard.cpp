// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListWalkGuard.h"

#include <functional>

#include "OperationList.h"

bool ListWalkGuard::accept(const std::string& page) {
    if (++m_pages > kMaxPages) {
        return false;
    }
    return m_seen.insert(std::hash<std::string>{}(ListPageFingerprint(page))).second;
}
