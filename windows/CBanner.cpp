// SPDX-License-Identifier: GPL-3.0-or-later
#include "CBanner.h"

#include "DialogUnits.h"

#include <QApplication>
#include <QPainter>

const QString CBanner::kDefaultTitle = QStringLiteral("Tavro History 2.7.0");
const QString CBanner::kDefaultNotice =
    QStringLiteral("Historia operacji Twoich rachunków na Twoim komputerze.");

CBanner::CBanner(QWidget* parent)
    : CBanner(kDefaultTitle, kDefaultNotice, QApplication::windowIcon(), parent) {}

CBanner::CBanner(const QString& title, const QString& notice, const QIcon& icon, QWidget* parent)
    : QWidget(parent), m_title(title), m_notice(notice), m_icon(icon) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CBanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(253, 253, 253));
    const int y = (height() - 32) / 2;
    if (!m_icon.isNull()) {
        m_icon.paint(&painter, QRect(10, y, 32, 32));
    }
    painter.setFont(DialogUnits::windowFont(QStringLiteral("Verdana"), 8));
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect line(QPoint(48, y), QPoint(width() - 1, y + 15));
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    painter.drawText(line, flags, m_title);
    painter.drawText(line.translated(0, 17), flags, m_notice);
}
