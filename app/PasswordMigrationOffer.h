// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QWidget;
namespace sqlite3x {
class connection;
}

// Once the database check has passed: where a keyring answers and the file still holds plain
// passwords, asks whether to move them there. "Nie" is remembered in the settings and keeps
// the old way for this file; the account manager then says so.
namespace PasswordMigrationOffer {

void run(sqlite3x::connection& con, QWidget* parent);

QString questionText();

}  // namespace PasswordMigrationOffer
