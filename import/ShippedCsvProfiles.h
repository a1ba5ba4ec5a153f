// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profiles that come with the program, one per layout known from public descriptions of
// Polish banks' CSV exports. None is checked against a bank's own file, and each says so.

#include "CsvProfile.h"

#include <vector>

namespace ShippedCsvProfiles {

const std::vector<CsvProfile>& All();

}  // namespace ShippedCsvProfiles
