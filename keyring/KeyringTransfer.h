// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class PasswordKeyring;

// One account's log-on as the table holds it: `pass` is a password or a keyring reference.
struct StoredLogOn {
    QString user;
    QString pass;
};

// Puts the plain passwords of account rows into the keyring, one item per distinct pair of user
// name and password, so that accounts sharing a log-on share one reference and still make one
// download job. The keyring is written before the table; undo() takes back what was stored when
// the table could not be written.
class KeyringTransfer {
public:
    explicit KeyringTransfer(PasswordKeyring& keyring) : m_keyring(keyring) {}

    // Replaces every non-empty plain password by a reference. A pair already kept under a
    // reference of the same user among the rows reuses it. False with the keyring's reason,
    // the rows unchanged and every item stored here removed again.
    bool moveToKeyring(std::vector<StoredLogOn>& logOns, QString& error);
    void undo();
    // Removes the items of references in `before` that no row of `after` holds any more.
    void removeOrphans(const QStringList& before, const std::vector<StoredLogOn>& after);

private:
    QString referenceFor(const std::vector<StoredLogOn>& logOns, const StoredLogOn& plain,
                         QString& error);

    PasswordKeyring& m_keyring;
    QStringList m_stored;
};
