#include "AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace AppIcon {
namespace {

QPixmap draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A ledger page with a coin: history of money.
    QLinearGradient page(0, 0, 0, s);
    page.setColorAt(0, QColor(0x3a, 0x7b, 0xc8));
    page.setColorAt(1, QColor(0x1d, 0x4b, 0x86));
    p.setPen(QPen(QColor(0x12, 0x34, 0x5e), s / 32));
    p.setBrush(page);
    p.drawRoundedRect(QRectF(s * 0.06, s * 0.06, s * 0.7, s * 0.84), s * 0.08, s * 0.08);
    p.setPen(QPen(QColor(255, 255, 255, 200), s / 16, Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 4; ++line) {
        const qreal y = s * (0.24 + 0.15 * line);
        p.drawLine(QPointF(s * 0.18, y), QPointF(s * 0.62, y));
    }
    QRadialGradient coin(QPointF(s * 0.7, s * 0.68), s * 0.28);
    coin.setColorAt(0, QColor(0xff, 0xe2, 0x7a));
    coin.setColorAt(1, QColor(0xd8, 0x9b, 0x12));
    p.setPen(QPen(QColor(0x8a, 0x5e, 0x05), s / 32));
    p.setBrush(coin);
    p.drawEllipse(QPointF(s * 0.7, s * 0.7), s * 0.26, s * 0.26);
    return pixmap;
}

}  // namespace

QIcon program() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(draw(size));
    }
    return icon;
}

}  // namespace AppIcon
