// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "DownloadJob.h"

// Gives a job the password to log on with. The job holds what `a_pass` holds: a password, or a
// reference to one kept outside the database, which the layer above answers (it may ask the
// user to unlock the keyring; the worker thread waits, the windows do not). Called on the
// worker thread.
class JobPasswords {
public:
    virtual ~JobPasswords() = default;

    // Nothing when the job's reference cannot be answered (another computer, a refused prompt).
    virtual std::optional<std::u16string> passwordFor(const DownloadJob& job) = 0;

    // The warnings-window line of a job left out for want of its password.
    static std::u16string MissingText(const std::u16string& user) {
        return u"Brak hasła w portfelu systemowym dla '" + user +
               u"': wpisz je ponownie w liście kont.";
    }
};
