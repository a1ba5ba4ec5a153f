// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyringJobPasswords.h"

#include "KeyringReference.h"
#include "PasswordKeyring.h"
#include "PasswordPlace.h"

std::optional<std::u16string> KeyringJobPasswords::passwordFor(const DownloadJob& job) {
    const QString pass = QString::fromStdU16String(job.password);
    if (!KeyringReference::isReference(pass)) {
        return job.password;
    }
    PasswordKeyring* keyring = PasswordPlace::keyring();
    if (keyring == nullptr) {
        return std::nullopt;
    }
    QString error;
    const std::optional<QString> password = keyring->lookup(KeyringReference::idOf(pass), error);
    if (!password) {
        return std::nullopt;
    }
    return password->toStdU16String();
}
