// SPDX-License-Identifier: GPL-3.0-or-later
#include "PasswordsCommand.h"

#include <QString>
#include <filesystem>
#include <ostream>

#include "AppPaths.h"
#include "DatabaseCheck.h"
#include "PasswordMigration.h"
#include "PasswordPlace.h"
#include "Schema.h"
#include "SecretServiceKeyring.h"
#include "SettingsStore.h"
#include "SingleInstance.h"
#include "sqlite3x.h"

namespace {

int failure(std::ostream& err, const QString& line) {
    err << "tavro: " << line.toStdString() << '\n';
    return 1;
}

// The question at start must not come back once the passwords are where it would move them.
void forgetDeclined() {
    SettingsStore settings(AppPaths::settingsFile());
    settings.Load();
    int32_t declined = 0;
    if (settings.GetInt(PasswordPlace::kDeclinedKey, 0, declined) != 0 && declined != 0) {
        settings.SetInt(PasswordPlace::kDeclinedKey, 0);
        settings.Save();
    }
}

}  // namespace

namespace PasswordsCommand {

int Run(std::ostream& err, const std::string& lockName) {
    SingleInstance instance(lockName);
    if (!instance.acquire()) {
        return failure(err,
                       QStringLiteral("Tavro jest uruchomione: zamknij je i spróbuj ponownie."));
    }
    std::error_code ignored;
    if (!std::filesystem::exists(AppPaths::databaseFile(), ignored)) {
        return 0;
    }
    try {
        sqlite3x::connection con;
        DatabaseCheck check;
        Schema::OpenDatabase(
            con, AppPaths::databaseFileU16(), [](const std::u16string&) {}, &check);
        if (check.result() != 0) {
            return failure(err,
                           QStringLiteral("Plik bazy danych jest uszkodzony; nic nie zmieniono."));
        }
        if (!PasswordMigration::hasPlainPasswords(con)) {
            forgetDeclined();
            return 0;
        }
        QString error;
        const auto keyring = SecretServiceKeyring::connect(error);
        if (!keyring) {
            return failure(err, QStringLiteral("Brak portfela systemowego (Secret Service): hasła "
                                               "pozostały w pliku danych."));
        }
        if (!PasswordMigration::run(con, *keyring, error)) {
            return failure(err, QStringLiteral("Portfel systemowy nie przyjął haseł (%1): hasła "
                                               "pozostały w pliku danych.")
                                    .arg(error));
        }
        forgetDeclined();
        return 0;
    } catch (const std::exception& e) {
        return failure(err, QStringLiteral("Błąd bazy danych: %1; nic nie zmieniono.")
                                .arg(QString::fromUtf8(e.what())));
    }
}

}  // namespace PasswordsCommand
