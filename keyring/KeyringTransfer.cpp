// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyringTransfer.h"

#include <map>
#include <utility>

#include "KeyringReference.h"
#include "PasswordKeyring.h"

QString KeyringTransfer::referenceFor(const std::vector<StoredLogOn>& logOns,
                                      const StoredLogOn& plain, QString& error) {
    for (const StoredLogOn& other : logOns) {
        if (other.user != plain.user || !KeyringReference::isReference(other.pass)) {
            continue;
        }
        QString ignored;
        const auto known = m_keyring.lookup(KeyringReference::idOf(other.pass), ignored);
        if (known && *known == plain.pass) {
            return other.pass;
        }
    }
    const QString id = KeyringReference::newId();
    if (!m_keyring.store(id, plain.user, plain.pass, error)) {
        return {};
    }
    m_stored << id;
    return KeyringReference::referenceTo(id);
}

bool KeyringTransfer::moveToKeyring(std::vector<StoredLogOn>& logOns, QString& error) {
    std::map<std::pair<QString, QString>, QString> references;
    std::vector<StoredLogOn> moved = logOns;
    for (StoredLogOn& logOn : moved) {
        if (logOn.pass.isEmpty() || KeyringReference::isReference(logOn.pass)) {
            continue;
        }
        QString& reference = references[{logOn.user, logOn.pass}];
        if (reference.isEmpty()) {
            reference = referenceFor(logOns, logOn, error);
            if (reference.isEmpty()) {
                undo();
                return false;
            }
        }
        logOn.pass = reference;
    }
    logOns = std::move(moved);
    return true;
}

void KeyringTransfer::undo() {
    for (const QString& id : std::exchange(m_stored, {})) {
        QString ignored;
        m_keyring.remove(id, ignored);
    }
}

void KeyringTransfer::removeOrphans(const QStringList& before,
                                    const std::vector<StoredLogOn>& after) {
    for (const QString& reference : before) {
        bool used = false;
        for (const StoredLogOn& logOn : after) {
            used = used || logOn.pass == reference;
        }
        if (!used && KeyringReference::isReference(reference)) {
            QString ignored;
            m_keyring.remove(KeyringReference::idOf(reference), ignored);
        }
    }
}
