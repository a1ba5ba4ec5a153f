// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <optional>

// Flicker-free painting: draws into an off-screen pixmap as large as the rectangle and copies it
// to the target painter when it goes out of scope. A printer target is drawn on directly.
//
//     QPainter screen(this);
//     CMemDC dc(screen, rect());
//     dc->drawLine(...);      // coordinates of the target
class CMemDC {
public:
    // rect: the part of the target to paint; the target's clip box (or its whole device) when
    // empty.
    explicit CMemDC(QPainter& target, const QRect& rect = QRect());
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter& painter() { return m_offscreen ? *m_offscreen : m_target; }
    QPainter* operator->() { return &painter(); }
    const QRect& rect() const { return m_rect; }
    bool isOffscreen() const { return m_offscreen.has_value(); }

private:
    QPainter& m_target;
    QRect m_rect;
    QPixmap m_pixmap;
    std::optional<QPainter> m_offscreen;
};
