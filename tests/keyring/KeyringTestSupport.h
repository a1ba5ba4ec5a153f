#pragma once
// Pieces shared by the keyring tests: a data folder with a database of accounts, the keyring
// published to the program as at start, and a keyring that refuses every call.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "AppPaths.h"
#include "AppSettings.h"
#include "PasswordKeyring.h"
#include "PasswordPlace.h"
#include "PrivateKeyring.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "sqlite3x.h"

struct AccountText {
    QString number, user, name, pass;
};

// The program's data folder in a temporary folder, with its database open and its settings
// published, and the private keyring in use.
class KeyringFixture : public ::testing::Test {
protected:
    void SetUp() override {
        keyring = PrivateKeyring::shared().keyring();
        ASSERT_NE(keyring, nullptr) << "no private gnome-keyring-daemon";
        qputenv("appdata", m_dir.path().toUtf8());
        AppPaths::ensureDataFolder();
        Schema::OpenDatabase(con, AppPaths::databaseFileU16(), [](const std::u16string&) {});
        settings = std::make_unique<SettingsStore>(AppPaths::settingsFile());
        AppSettings::publish(settings.get());
        PasswordPlace::use(keyring, false);
    }
    void TearDown() override {
        PasswordPlace::use(nullptr, false);
        AppSettings::publish(nullptr);
    }
    void insert(const AccountText& a) {
        sqlite3x::command cmd(con, Schema::kInsertAccount);
        cmd.bind_text(1, a.number.toStdU16String());
        cmd.bind_text(2, a.user.toStdU16String());
        cmd.bind_text(3, a.name.toStdU16String());
        cmd.bind_text(4, a.pass.toStdU16String());
        cmd.bind_int(5, 0);
        cmd.execute();
    }
    // a_pass of every account, by a_number.
    QStringList passes() {
        QStringList out;
        sqlite3x::command cmd(con, "SELECT a_pass FROM accounts ORDER BY a_number");
        sqlite3x::reader r = cmd.execute_reader();
        while (r.read()) {
            out << QString::fromStdU16String(r.get_string(0));
        }
        r.close();
        return out;
    }
    QString folder() const { return m_dir.path(); }

    SecretServiceKeyring* keyring = nullptr;
    sqlite3x::connection con;
    std::unique_ptr<SettingsStore> settings;

private:
    QTemporaryDir m_dir;
};

// A keyring whose every answer is a refusal, as when the user dismisses its prompt.
class RefusingKeyring : public PasswordKeyring {
public:
    bool store(const QString&, const QString&, const QString&, QString& error) override {
        error = QStringLiteral("prompt dismissed");
        return false;
    }
    std::optional<QString> lookup(const QString&, QString& error) override {
        error = QStringLiteral("prompt dismissed");
        return std::nullopt;
    }
    bool remove(const QString&, QString& error) override {
        error = QStringLiteral("prompt dismissed");
        return false;
    }
};

// The label the keyring shows for the item, read with libsecret's own command-line tool.
inline QString keyringLabel(const QString& id) {
    QProcess tool;
    tool.start(QStringLiteral("secret-tool"),
               {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("id"), id});
    tool.waitForFinished(10000);
    for (const QByteArray& line :
         (tool.readAllStandardOutput() + tool.readAllStandardError()).split('\n')) {
        if (line.startsWith("label = ")) {
            return QString::fromUtf8(line.mid(8));
        }
    }
    return {};
}
