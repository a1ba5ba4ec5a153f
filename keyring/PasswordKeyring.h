// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// A store of bank passwords outside the data folder, each under an identifier of the program's
// own. Calls may block (a prompt, a slow bus) and may come from any thread; a window waits for
// them on a thread of their own (BackgroundCall) so that it keeps painting.
class PasswordKeyring {
public:
    virtual ~PasswordKeyring() = default;

    // Stores or replaces the item `id`, labelled for the user name. False with a reason.
    virtual bool store(const QString& id, const QString& user, const QString& password,
                       QString& error) = 0;
    // The item's password; nothing when there is no such item or the keyring refuses.
    virtual std::optional<QString> lookup(const QString& id, QString& error) = 0;
    // Removes the item; true also when there was none.
    virtual bool remove(const QString& id, QString& error) = 0;
};
