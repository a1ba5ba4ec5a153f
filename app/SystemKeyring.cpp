// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemKeyring.h"

#include <memory>

#include "PasswordPlace.h"
#include "SecretServiceKeyring.h"

namespace {

std::unique_ptr<SecretServiceKeyring>& instance() {
    static std::unique_ptr<SecretServiceKeyring> keyring;
    return keyring;
}

bool g_off = false;

}  // namespace

namespace SystemKeyring {

bool connect() {
    if (g_off) {
        return false;
    }
    if (!instance()) {
        QString error;
        instance() = SecretServiceKeyring::connect(error);
    }
    PasswordPlace::use(instance().get(), false);
    return instance() != nullptr;
}

void switchOff() {
    g_off = true;
    PasswordPlace::use(nullptr, false);
}

}  // namespace SystemKeyring
