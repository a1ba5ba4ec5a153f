// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every export format ends its lines as the Windows programs that read them expect.
inline constexpr const char* kExportLineEnd = "\r\n";
