#pragma once

#include <QIcon>

// The program's icon, drawn at run time so that the program needs no image files.
namespace AppIcon {

QIcon program();

}  // namespace AppIcon
