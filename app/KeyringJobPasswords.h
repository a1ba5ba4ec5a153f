// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "JobPasswords.h"

// Answers a job's keyring reference from the keyring this run uses; a plain password is used
// as it stands.
class KeyringJobPasswords : public JobPasswords {
public:
    std::optional<std::u16string> passwordFor(const DownloadJob& job) override;
};
