// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIcon.h"

#include <QGuiApplication>

namespace AppIcon {

QIcon program() {
    // Decoding the eight sizes takes some 8 ms: once the application carries the icon, every
    // window shares it, and each size is decoded when first asked for (the window system takes
    // them all when the main window is made, which a start does while the list is read).
    if (QIcon shared = QGuiApplication::windowIcon(); !shared.isNull()) {
        return shared;
    }
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QString desktopId() {
    return QStringLiteral(TAVRO_APP_ID);
}

}  // namespace AppIcon
