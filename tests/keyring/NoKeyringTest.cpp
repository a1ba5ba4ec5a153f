// Without a session bus: everything as before, and the account manager says so.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "AppPaths.h"
#include "CWndAccountManager.h"
#include "DialogTemplate.h"
#include "PasswordPlace.h"
#include "PasswordsCommand.h"
#include "PrivateKeyring.h"
#include "Schema.h"
#include "SystemKeyring.h"
#include "sqlite3x.h"

namespace {

TEST(NoKeyringTest, PasswordsStayInTheTableAndTheCommandRefusesWithOneLine) {
    PrivateKeyring::noSessionBus();
    EXPECT_FALSE(SystemKeyring::connect());
    EXPECT_EQ(PasswordPlace::reason(), PasswordPlace::Reason::NoKeyring);

    QTemporaryDir dir;
    qputenv("appdata", dir.path().toUtf8());
    AppPaths::ensureDataFolder();
    sqlite3x::connection con;
    Schema::OpenDatabase(con, AppPaths::databaseFileU16(), [](const std::u16string&) {});
    {
        CWndAccountManager window(con, CWndAccountManager::BankFiller{});
        EXPECT_TRUE(DialogTemplate::find<QLabel>(&window, 1022)
                        ->text()
                        .contains(QStringLiteral("bez szyfrowania")));
        DialogTemplate::find<QLineEdit>(&window, 1015)
            ->setText(QStringLiteral("04000000000000000000000000"));
        DialogTemplate::find<QLineEdit>(&window, 1016)->setText(QStringLiteral("jan"));
        DialogTemplate::find<QLineEdit>(&window, 1017)->setText(QStringLiteral("Jawne-Haslo"));
        DialogTemplate::find<QLineEdit>(&window, 1018)->setText(QStringLiteral("Konto"));
        QTest::mouseClick(DialogTemplate::find<QPushButton>(&window, 1019), Qt::LeftButton);
        QTest::mouseClick(DialogTemplate::find<QPushButton>(&window, 1), Qt::LeftButton);
    }
    const auto pass = [&] {
        return con.execute_int("SELECT count(*) FROM accounts WHERE a_pass='Jawne-Haslo'");
    };
    EXPECT_EQ(pass(), 1);

    std::ostringstream err;
    EXPECT_EQ(PasswordsCommand::Run(err, "tavro-nokeyring-test-" + std::to_string(::getpid())), 1);
    EXPECT_EQ(
        err.str(),
        "tavro: Brak portfela systemowego (Secret Service): hasła pozostały w pliku danych.\n");
    EXPECT_EQ(pass(), 1);
}

}  // namespace
