#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

// A rectangle of a dialog template, in dialog units.
struct DluRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Converts dialog units of a font to pixels, the way dialog templates were laid out: one
// horizontal unit is a quarter of the font's average character width, one vertical unit an
// eighth of its character height. The average width is that of the 52 letters A-Z a-z, rounded
// to the nearest pixel; every coordinate and extent converts on its own, rounded half away from
// zero, so neighbouring controls keep the gaps the template gave them.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // The font of a window: family and point size at the primary screen's logical resolution,
    // turned into a whole pixel size so that layout does not depend on fractional glyph metrics.
    // Verdana 8 is the program's window font (fontconfig substitutes DejaVu Sans).
    static QFont windowFont(const QString& family = QStringLiteral("Verdana"), int pointSize = 8,
                            bool bold = false);

    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

    int toPixelsX(int dlu) const;
    int toPixelsY(int dlu) const;
    QRect toPixels(const DluRect& rect) const;
    QSize toPixels(const QSize& dluSize) const;

private:
    int m_baseX;
    int m_baseY;
};
