// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table of Polish internet-banking interfaces shared by the module family, and what this
// module tells the host about itself.

#include <cstdint>
#include <string>

#include "ModuleInterface.h"

inline constexpr int32_t kModuleType = 7;
inline constexpr int32_t kRoutingNumber = 19900003;
inline constexpr const char* kAuthorCredit = "Ostrel ib_tavro";

// The bank name for a type number as Windows-1250 text; unknown numbers give the last row.
std::string BankDirectoryName(int32_t type);

// The type table: the type number, the routing numbers served, then 0.
const int32_t* ModuleTypeTable();

// Fills the two buffers; 1 on success, 0 with nothing written otherwise.
int32_t FillModuleInfo(int32_t type, ModuleInfo* info);
