// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What `a_pass` holds in place of a password kept in the keyring: "keyring:<identifier>".
// A password typed by the user that happens to begin so is taken for a reference; the
// account manager never stores such a text as a plain password where a keyring is there.
namespace KeyringReference {

inline constexpr char16_t kPrefix[] = u"keyring:";

bool isReference(const QString& pass);
// The identifier of a reference; empty when `pass` is none.
QString idOf(const QString& pass);
QString referenceTo(const QString& id);
// A new random identifier (128 bits from the system's generator, as hex).
QString newId();

}  // namespace KeyringReference
