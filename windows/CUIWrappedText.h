// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;

// Text wrapped at word boundaries into a rectangle; when it does not fit, the last line that
// fits ends with an ellipsis where the text is cut. Line breaks in the text are kept and tabs
// are expanded.
class CUIWrappedText {
public:
    // The lines shown in a box of the given width and height (at least one line).
    static QStringList lines(const QFont& font, const QString& text, int width, int height);
    // The rectangle the lines take, from the box's top-left corner.
    static QRect measure(const QFont& font, const QString& text, const QRect& box);
    // Draws the lines top-left aligned in the box with the painter's font and pen; returns
    // the rectangle taken.
    static QRect draw(QPainter& painter, const QString& text, const QRect& box);
};
