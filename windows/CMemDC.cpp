// SPDX-License-Identifier: GPL-3.0-or-later
#include "CMemDC.h"

#include <QPaintDevice>

namespace {

QRect targetRect(const QPainter& target, const QRect& rect) {
    if (!rect.isEmpty()) {
        return rect;
    }
    if (target.hasClipping()) {
        return target.clipBoundingRect().toAlignedRect();
    }
    const QPaintDevice* device = target.device();
    return device ? QRect(0, 0, device->width(), device->height()) : QRect();
}

}  // namespace

CMemDC::CMemDC(QPainter& target, const QRect& rect)
    : m_target(target), m_rect(targetRect(target, rect)) {
    const QPaintDevice* device = target.device();
    const bool printer = device && device->devType() == QInternal::Printer;
    const QColor background = target.background().color();
    if (!printer && !m_rect.isEmpty()) {
        const qreal ratio = device ? device->devicePixelRatioF() : 1.0;
        m_pixmap = QPixmap(m_rect.size() * ratio);
        m_pixmap.setDevicePixelRatio(ratio);
        m_offscreen.emplace(&m_pixmap);
        m_offscreen->setFont(target.font());
        m_offscreen->translate(-m_rect.topLeft());
    }
    painter().setBackgroundMode(Qt::OpaqueMode);
    painter().fillRect(m_rect, background);
}

CMemDC::~CMemDC() {
    if (m_offscreen) {
        m_offscreen->end();
        m_target.drawPixmap(m_rect.topLeft(), m_pixmap);
    }
}
