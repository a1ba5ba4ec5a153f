// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Asks the Zel messenger, when installed, to show a notification. Best effort: nothing
// happens when it is missing or does not start.
void NotifyMessenger(const std::u16string& title, const std::u16string& text);
