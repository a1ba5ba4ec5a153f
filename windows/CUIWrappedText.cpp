// SPDX-License-Identifier: GPL-3.0-or-later
#include "CUIWrappedText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace {

QString normalised(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(u'\n', QChar::LineSeparator);
    return result;
}

QString lineText(const QString& text, int start, int length) {
    QString line = text.mid(start, length);
    while (!line.isEmpty() && (line.back().isSpace() || line.back() == QChar::LineSeparator)) {
        line.chop(1);
    }
    return line;
}

}  // namespace

QStringList CUIWrappedText::lines(const QFont& font, const QString& text, int width, int height) {
    const QString source = normalised(text);
    const QFontMetrics metrics(font);
    const int maxLines = std::max(1, height / std::max(1, metrics.height()));
    width = std::max(1, width);

    QTextLayout layout(source, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList result;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (result.size() + 1 == maxLines && line.textStart() + line.textLength() < source.size()) {
            QString rest = source.mid(line.textStart());
            rest.replace(QChar::LineSeparator, u' ');
            QString shown = metrics.elidedText(rest, Qt::ElideRight, width);
            if (shown == rest) {
                // Cut at a line break: the rest fits on one line, but the ellipsis still shows.
                shown = metrics.elidedText(
                    lineText(source, line.textStart(), line.textLength()) + QChar(0x2026),
                    Qt::ElideRight, width);
            }
            result << shown;
            break;
        }
        result << lineText(source, line.textStart(), line.textLength());
    }
    layout.endLayout();
    return result;
}

QRect CUIWrappedText::measure(const QFont& font, const QString& text, const QRect& box) {
    const QFontMetrics metrics(font);
    const QStringList shown = lines(font, text, box.width(), box.height());
    int width = 0;
    for (const QString& line : shown) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    return QRect(box.topLeft(), QSize(width, metrics.height() * int(shown.size())));
}

QRect CUIWrappedText::draw(QPainter& painter, const QString& text, const QRect& box) {
    const QFontMetrics metrics(painter.font());
    const QStringList shown = lines(painter.font(), text, box.width(), box.height());
    int y = box.top();
    int width = 0;
    for (const QString& line : shown) {
        painter.drawText(QPoint(box.left(), y + metrics.ascent()), line);
        width = std::max(width, metrics.horizontalAdvance(line));
        y += metrics.height();
    }
    return QRect(box.topLeft(), QSize(width, y - box.top()));
}
