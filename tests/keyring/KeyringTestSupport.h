// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyring tests' real GNOME Keyring: a dbus-daemon of their own (nothing activatable on it)
// and gnome-keyring-daemon with a fresh home, its login keyring unlocked with a test password.
// This process's session bus becomes that bus, so nothing reaches the user's keyring.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "AppPaths.h"
#include "AppSettings.h"
#include "PasswordPlace.h"
#include "Schema.h"
#include "SecretServiceKeyring.h"
#include "SettingsStore.h"
#include "sqlite3x.h"

class PrivateKeyring {
public:
    // Started once for the test program; keyring() is null when it could not start.
    static PrivateKeyring& shared();
    ~PrivateKeyring();
    SecretServiceKeyring* keyring() const { return m_keyring.get(); }
    QString home() const { return m_dir.path() + QStringLiteral("/home"); }

private:
    PrivateKeyring();
    QTemporaryDir m_dir;
    QProcess m_bus, m_daemon;
    std::unique_ptr<SecretServiceKeyring> m_keyring;
};

// True when a file under `folder` holds the text in UTF-8 or UTF-16 (either byte order).
bool anyFileHolds(const QString& folder, const QString& text);
// The label the keyring shows for the item, read with libsecret's own command-line tool.
QString keyringLabel(const QString& id);

// A data folder with its database open and its settings published, the private keyring in use.
class KeyringFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Adds an account: number, user, display name, a_pass.
    void insert(const QStringList& account);
    // a_pass of every account, by number.
    QStringList passes();
    QString folder() const { return m_dir.path(); }

    SecretServiceKeyring* keyring = nullptr;
    sqlite3x::connection con;
    std::unique_ptr<SettingsStore> settings;

private:
    QTemporaryDir m_dir;
};

// Refuses every call, as a keyring does when the user dismisses its prompt.
class RefusingKeyring : public PasswordKeyring {
public:
    bool store(const QString&, const QString&, const QString&, QString& e) override {
        return refuse(e);
    }
    std::optional<QString> lookup(const QString&, QString& e) override {
        refuse(e);
        return std::nullopt;
    }
    bool remove(const QString&, QString& e) override { return refuse(e); }

private:
    static bool refuse(QString& error) {
        error = QStringLiteral("prompt dismissed");
        return false;
    }
};
