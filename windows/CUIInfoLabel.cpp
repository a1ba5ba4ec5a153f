// SPDX-License-Identifier: GPL-3.0-or-later
#include "CUIInfoLabel.h"

#include "CUIWrappedText.h"

#include <QPainter>
#include <QStyle>

CUIInfoLabel::CUIInfoLabel(QWidget* parent) : QWidget(parent) {}

CUIInfoLabel::CUIInfoLabel(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {}

void CUIInfoLabel::SetInfoIcon() {
    m_iconSize = 16;
    m_icon = style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this);
    update();
}

void CUIInfoLabel::SetInfoText(const QString& text) {
    m_text = text;
    update();
}

void CUIInfoLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(QColor(0xAA, 0xAA, 0xAC), 1));
    painter.setBrush(Qt::white);
    painter.setFont(font());
    painter.drawRoundedRect(QRect(0, 0, width() - 1, height() - 1), 1.5, 1.5);
    if (!m_icon.isNull()) {
        m_icon.paint(&painter, QRect(5, 5, m_iconSize, m_iconSize));
    }
    painter.setPen(Qt::black);
    const QRect textBox = rect().adjusted(m_iconSize + 10, 6, -6, -6);
    CUIWrappedText::draw(painter, m_text, textBox);
}
