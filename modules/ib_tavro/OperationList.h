// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "OperationLink.h"

// Appends the operations of one list page; true when the page offers older operations.
bool ReadOperationList(const std::string& page, std::vector<OperationLink>& links);

// The parameters of the PrevPage button (the fourth argument of its call).
std::string ReadPrevPageParameters(const std::string& page);

// The items of a list page as ReadOperationList scans them, with the arguments of their onclick
// calls left out: a site may issue new parameters every time it shows the same operations.
std::string ListPageFingerprint(const std::string& page);
