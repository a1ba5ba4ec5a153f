// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Codes the host puts in place of a module's result.
namespace HostResult {
// The job's operations could not be stored and were rolled back ("generic error").
inline constexpr int32_t StoreFailed = -12;
// No module was called for the job; shown as "nieznany błąd", so a download that did
// nothing never looks like a success.
inline constexpr int32_t NoModule = -13;
}  // namespace HostResult
