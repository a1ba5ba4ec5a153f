// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The companion messenger Zel. Its folder is the string value "ZEL-path" of the settings
// of organisation "Ostrel"; the program is that folder followed directly by "zel".
class Messenger {
public:
    // The program to start, or empty when the value is missing, empty or not a string.
    static QString program();
    // "--tondle" and one argument "title|text|Image/TabEvent|1|".
    static QStringList arguments(const QString& title, const QString& text);
    // Starts the messenger without a shell; false when it is not installed or did not start.
    static bool notify(const QString& title, const QString& text);
};
