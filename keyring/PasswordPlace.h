// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class PasswordKeyring;

// Where this run of the program keeps bank passwords, chosen once at start: the desktop's
// keyring when one answers, else the database as before. The demo never uses the keyring.
class PasswordPlace {
public:
    enum class Reason { Keyring, NoKeyring, Declined };

    // The keyring that answers references, or null. Not owned.
    static PasswordKeyring* keyring();
    // New passwords go to the keyring: there is one and the user did not keep the old way.
    static bool inKeyring() { return reason() == Reason::Keyring; }
    static Reason reason();

    static void use(PasswordKeyring* keyring, bool declined);
    static void setDeclined(bool declined);

    // The settings key that remembers "Nie" to the move into the keyring.
    static constexpr const char16_t* kDeclinedKey = u"PasswordsStayInDatabase";
};
