// SPDX-License-Identifier: GPL-3.0-or-later
#include "Messenger.h"

#include <QMetaType>
#include <QProcess>
#include <QSettings>
#include <QVariant>

QString Messenger::program() {
    const QSettings settings(QStringLiteral("Ostrel"), QString());
    const QVariant folder = settings.value(QStringLiteral("ZEL-path"));
    // An empty folder would leave a bare "zel" to be looked up in PATH.
    if (folder.typeId() != QMetaType::QString || folder.toString().isEmpty()) {
        return {};
    }
    return folder.toString() + QStringLiteral("zel");
}

QStringList Messenger::arguments(const QString& title, const QString& text) {
    return {QStringLiteral("--tondle"),
            QStringLiteral("%1|%2|%3|%4|")
                .arg(title, text, QStringLiteral("Image/TabEvent"), QString::number(1))};
}

bool Messenger::notify(const QString& title, const QString& text) {
    const QString path = program();
    if (path.isEmpty()) {
        return false;
    }
    return QProcess::startDetached(path, arguments(title, text));
}
