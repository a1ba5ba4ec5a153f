// SPDX-License-Identifier: GPL-3.0-or-later
// Without a session bus: passwords stay in the table as before, and the account manager says so.
#include <gtest/gtest.h>
#include <QLabel>
#include <QTemporaryDir>
#include <sstream>

#include "AppPaths.h"
#include "CWndAccountManager.h"
#include "DialogTemplate.h"
#include "PasswordPlace.h"
#include "PasswordsCommand.h"
#include "Schema.h"
#include "SystemKeyring.h"
#include "sqlite3x.h"

TEST(NoKeyringTest, PasswordsStayInTheTableAndTheCommandRefusesWithOneLine) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    EXPECT_FALSE(SystemKeyring::connect());
    QTemporaryDir dir;
    qputenv("appdata", dir.path().toUtf8());
    AppPaths::ensureDataFolder();
    sqlite3x::connection con;
    Schema::OpenDatabase(con, AppPaths::databaseFileU16(), [](const std::u16string&) {});
    CWndAccountManager window(con, CWndAccountManager::BankFiller{});
    EXPECT_TRUE(DialogTemplate::find<QLabel>(&window, 1022)->text().contains("bez szyfrowania"));
    con.execute("INSERT INTO accounts VALUES(0, '1', 'jan', 'Konto', 'Jawne-Haslo', 0, 0)");
    const auto plain = [&] {
        return con.execute_int("SELECT count(*) FROM accounts WHERE a_pass='Jawne-Haslo'");
    };
    EXPECT_EQ(plain(), 1);
    std::ostringstream err;
    EXPECT_EQ(PasswordsCommand::Run(err, "tavro-test-" + std::to_string(::getpid())), 1);
    EXPECT_EQ(
        err.str(),
        "tavro: Brak portfela systemowego (Secret Service): hasła pozostały w pliku danych.\n");
    EXPECT_EQ(plain(), 1);
}
