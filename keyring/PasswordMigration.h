// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class PasswordKeyring;
namespace sqlite3x {
class connection;
}

// The one-time move of an older file's plain passwords into the keyring.
namespace PasswordMigration {

// Some account holds a non-empty password in plain text.
bool hasPlainPasswords(sqlite3x::connection& con);

// Stores each distinct log-on in the keyring, then replaces the passwords in the table by
// references in one transaction with secure deletion on, so the old text does not stay in the
// file's free space. False with the reason when the keyring refuses or the table cannot be
// written; nothing is changed then, in the table or the keyring.
bool run(sqlite3x::connection& con, PasswordKeyring& keyring, QString& error);

}  // namespace PasswordMigration
