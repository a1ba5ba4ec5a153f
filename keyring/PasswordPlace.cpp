// SPDX-License-Identifier: GPL-3.0-or-later
#include "PasswordPlace.h"

#include <atomic>

namespace {

std::atomic<PasswordKeyring*> g_keyring{nullptr};
std::atomic<bool> g_declined{false};

}  // namespace

PasswordKeyring* PasswordPlace::keyring() {
    return g_keyring.load();
}

PasswordPlace::Reason PasswordPlace::reason() {
    if (g_keyring.load() == nullptr) {
        return Reason::NoKeyring;
    }
    return g_declined.load() ? Reason::Declined : Reason::Keyring;
}

void PasswordPlace::use(PasswordKeyring* keyring, bool declined) {
    g_keyring = keyring;
    g_declined = declined;
}

void PasswordPlace::setDeclined(bool declined) {
    g_declined = declined;
}
