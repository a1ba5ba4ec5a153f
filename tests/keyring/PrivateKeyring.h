#pragma once
// A real GNOME Keyring for one test program: a dbus-daemon of its own (nothing activatable on it)
// and gnome-keyring-daemon with a fresh home, its login keyring unlocked with a test password.
// This process's session bus becomes that bus, so nothing reaches the user's keyring.
//
//   SecretServiceKeyring* keyring = PrivateKeyring::shared().keyring();   // null: not started

#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "SecretServiceKeyring.h"

class PrivateKeyring {
public:
    static PrivateKeyring& shared();
    ~PrivateKeyring();

    SecretServiceKeyring* keyring() const { return m_keyring.get(); }
    QString home() const { return m_dir.path() + QStringLiteral("/home"); }
    // A bus address where nothing listens: no session bus at all.
    static void noSessionBus();

private:
    PrivateKeyring();
    bool startBus();
    bool startDaemon();

    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_daemon;
    std::unique_ptr<SecretServiceKeyring> m_keyring;
};

// True when `folder` holds a file with the text in UTF-8 or UTF-16 (either byte order).
bool anyFileHolds(const QString& folder, const QString& text);
