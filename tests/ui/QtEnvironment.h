#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QWidget;

// The QApplication of the test program is created once, before the first test runs (and not
// while the tests are only being listed), on the offscreen platform unless one is set.
namespace QtEnvironment {

// Paints the widget (shown offscreen at its current size) into an image.
QImage render(QWidget& widget);
// Whether any pixel in the area has the colour (exactly).
bool contains(const QImage& image, const QRect& area, const QColor& colour);
// Whether any pixel in the area is darker than the given grey level (0..255) on every channel.
bool hasDarkPixel(const QImage& image, const QRect& area, int level);

}  // namespace QtEnvironment
