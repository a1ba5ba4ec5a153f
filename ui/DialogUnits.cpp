#include "DialogUnits.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {

// value * numerator / denominator rounded half away from zero.
int mulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded =
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<int>(rounded);
}

int averageCharWidth(const QFontMetrics& metrics) {
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return (width / 26 + 1) / 2;
}

int logicalDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? static_cast<int>(dpi + 0.5) : 96;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    m_baseX = std::max(1, averageCharWidth(metrics));
    m_baseY = std::max(1, metrics.height());
}

QFont DialogUnits::windowFont(const QString& family, int pointSize, bool bold) {
    QFont font(family);
    font.setPixelSize(std::max(1, mulDiv(pointSize, logicalDpiY(), 72)));
    font.setBold(bold);
    return font;
}

int DialogUnits::toPixelsX(int dlu) const {
    return mulDiv(dlu, m_baseX, 4);
}

int DialogUnits::toPixelsY(int dlu) const {
    return mulDiv(dlu, m_baseY, 8);
}

QRect DialogUnits::toPixels(const DluRect& rect) const {
    return QRect(toPixelsX(rect.x), toPixelsY(rect.y), toPixelsX(rect.width),
                 toPixelsY(rect.height));
}

QSize DialogUnits::toPixels(const QSize& dluSize) const {
    return QSize(toPixelsX(dluSize.width()), toPixelsY(dluSize.height()));
}
