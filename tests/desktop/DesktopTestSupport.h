// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace DesktopTestSupport {

// The private session bus the test program started.
const std::string& busAddress();

}  // namespace DesktopTestSupport
