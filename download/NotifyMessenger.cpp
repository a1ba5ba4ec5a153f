// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotifyMessenger.h"

#include <QString>

#include "Messenger.h"

void NotifyMessenger(const std::u16string& title, const std::u16string& text) {
    Messenger::notify(QString::fromStdU16String(title), QString::fromStdU16String(text));
}
