// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

// The program's identity on the desktop: its icon, rendered at build time from the one SVG that
// is also installed into the icon theme, and the id that names its desktop entry.
namespace AppIcon {

// The application's icon once set, else the icon decoded anew.
QIcon program();

// The reverse-DNS id: the desktop entry's file name and the icon's name in the theme.
QString desktopId();

}  // namespace AppIcon
