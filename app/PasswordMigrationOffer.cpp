// SPDX-License-Identifier: GPL-3.0-or-later
#include "PasswordMigrationOffer.h"

#include <QString>

#include "AppSettings.h"
#include "BackgroundCall.h"
#include "MessageBox.h"
#include "PasswordKeyring.h"
#include "PasswordMigration.h"
#include "PasswordPlace.h"
#include "sqlite3x.h"

namespace {

const QString kCaption = QStringLiteral("Hasła do banków");

bool hasPlainPasswords(sqlite3x::connection& con) {
    try {
        return PasswordMigration::hasPlainPasswords(con);
    } catch (const sqlite3x::database_error&) {
        return false;
    }
}

}  // namespace

namespace PasswordMigrationOffer {

QString questionText() {
    return QStringLiteral(
        "Hasła do banków są zapisane w pliku danych zwykłym tekstem. Czy przenieść je do "
        "portfela systemowego?\n\nPo przeniesieniu starsza wersja Tavro nie zaloguje się już do "
        "banku z tym plikiem danych.");
}

void run(sqlite3x::connection& con, QWidget* parent) {
    const bool declined = AppSettings::GetInt(PasswordPlace::kDeclinedKey, 0) != 0;
    PasswordPlace::setDeclined(declined);
    PasswordKeyring* keyring = PasswordPlace::keyring();
    if (keyring == nullptr || declined || !hasPlainPasswords(con)) {
        return;
    }
    if (MessageBox::show(parent, questionText(), kCaption, MessageBox::Buttons::YesNo,
                         MessageBox::Icon::Question) != MessageBox::Answer::Yes) {
        AppSettings::SetInt(PasswordPlace::kDeclinedKey, 1);
        PasswordPlace::setDeclined(true);
        return;
    }
    QString error;
    const bool moved =
        BackgroundCall::run([&] { return PasswordMigration::run(con, *keyring, error); });
    if (!moved) {
        MessageBox::show(parent,
                         QStringLiteral("Nie udało się przenieść haseł do portfela systemowego "
                                        "(%1). Hasła pozostały w pliku danych.")
                             .arg(error),
                         kCaption, MessageBox::Buttons::Ok, MessageBox::Icon::Warning);
    }
}

}  // namespace PasswordMigrationOffer
