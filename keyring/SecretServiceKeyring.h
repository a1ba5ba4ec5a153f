// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <mutex>

#include "PasswordKeyring.h"

// The desktop's keyring over the Secret Service D-Bus interface (GNOME Keyring, KWallet), through
// libsecret. Only the D-Bus service is used: libsecret's local-file backend is never chosen, so a
// password either reaches the desktop's keyring or is refused.
class SecretServiceKeyring : public PasswordKeyring {
public:
    // Connects to the session bus and opens a session with the Secret Service; null when no
    // session bus or no Secret Service answers.
    static std::unique_ptr<SecretServiceKeyring> connect(QString& error);
    ~SecretServiceKeyring() override;

    bool store(const QString& id, const QString& user, const QString& password,
               QString& error) override;
    std::optional<QString> lookup(const QString& id, QString& error) override;
    bool remove(const QString& id, QString& error) override;

    // "Tavro: <user name>", the label a keyring window shows.
    static QString labelFor(const QString& user);

private:
    struct Service;
    explicit SecretServiceKeyring(std::unique_ptr<Service> service);

    std::unique_ptr<Service> m_service;
    // One call at a time: a prompt is answered before the next request goes out.
    std::mutex m_lock;
};
