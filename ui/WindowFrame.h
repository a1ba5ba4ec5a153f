#pragma once

#include <QPoint>

class QWidget;

// Where a top-level window's frame really is on the screen. Qt keeps the position that the
// window manager last reported, and some window managers (IceWM among them) report it off by
// the frame's border, so a position read from Qt and given back to move() creeps at every start.
class WindowFrame {
public:
    // The top-left corner of the window's frame in screen pixels. Under X11: the client area's
    // position as the X server has it, less the frame extents that the window manager
    // publishes. Elsewhere (another platform, no frame extents), Qt's own frame position.
    static QPoint topLeft(const QWidget* window);
};
