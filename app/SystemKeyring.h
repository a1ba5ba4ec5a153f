// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The desktop's keyring for this run of the program, connected once at start and published
// through PasswordPlace. The demo switches it off before anything connects.
namespace SystemKeyring {

// Connects to the Secret Service unless switched off; without one, passwords stay in the
// database as before. Returns whether a keyring answers.
bool connect();
// This process never talks to the user's keyring.
void switchOff();

}  // namespace SystemKeyring
