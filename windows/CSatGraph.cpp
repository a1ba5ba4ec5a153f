// SPDX-License-Identifier: GPL-3.0-or-later
#include "CSatGraph.h"

#include "CMemDC.h"
#include "DialogUnits.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor kFrameColour(0x66, 0x66, 0x66);
const QColor kAxisColour(0xDD, 0xDD, 0xDD);
const QColor kGridColour(0xEE, 0xEE, 0xEE);
const QColor kShadowColour(0xBB, 0xBB, 0xBB);
const QColor kOutgoBottom(0x50, 0x00, 0x00);
const QColor kOutgoTop(0x90, 0x00, 0x00);
const QColor kIncomeBottom(0x00, 0x00, 0x99);
const QColor kIncomeTop(0x00, 0x00, 0xFF);
constexpr int kGridStep = 30;

// "%.<precision>f" with a decimal comma, whatever the process locale.
QString decimalComma(double value, int precision) {
    return QString::number(value, 'f', precision).replace(u'.', u',');
}

// Top-left aligned, unclipped, first in grey one pixel down and right, then in black.
void drawShadowedText(QPainter& painter, const QRect& box, const QString& text) {
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs | Qt::TextDontClip;
    painter.setPen(kShadowColour);
    painter.drawText(box.translated(1, 1), flags, text);
    painter.setPen(Qt::black);
    painter.drawText(box, flags, text);
}

// A rectangle from its four edges, right and bottom exclusive.
QRect edges(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

}  // namespace

CSatGraph::CSatGraph(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // Painting covers everything; no background erase before it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSatGraph::Clear() {
    m_points.clear();
    m_hovered = -1;
}

void CSatGraph::AddPoint(float income, float outgo, const QString& label) {
    m_points.push_back(Point{income, outgo, label, {}, {}});
}

void CSatGraph::SetTitle(const QString& title) {
    m_title = title;
    update();
}

QString CSatGraph::hoverText() const {
    if (m_hovered < 0 || m_hovered >= static_cast<int>(m_points.size())) {
        return {};
    }
    const Point& point = m_points[static_cast<std::size_t>(m_hovered)];
    return QStringLiteral("Miesiąc: %1, Wpłaty %2pln, Wypłaty: %3pln")
        .arg(point.label, decimalComma(point.income, 2), decimalComma(point.outgo, 2));
}

float CSatGraph::slotWidth() const {
    const int n = static_cast<int>(m_points.size());
    if (n == 0) {
        return 0;
    }
    const int slot = (width() - kLeftMargin - kRightMargin - kGap * n) / n;
    // Too many months for the width: the bars vanish rather than run backwards.
    return static_cast<float>(std::max(0, slot));
}

float CSatGraph::maximum() const {
    float result = 0;
    for (const Point& point : m_points) {
        result = std::max({result, point.income, point.outgo});
    }
    return result;
}

bool CSatGraph::hasBars() const {
    // A control lower than its margins has no room for a plot.
    return !m_points.empty() && maximum() > 0 && height() > kTopMargin + kBottomMargin;
}

void CSatGraph::paintEvent(QPaintEvent*) {
    QPainter screen(this);
    CMemDC dc(screen, rect());
    QPainter& painter = dc.painter();
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    paintBackground(painter);
    if (hasBars()) {
        paintBars(painter, maximum(), false);
        paintBars(painter, maximum(), true);
        paintTexts(painter);
    }
    painter.restore();
}

void CSatGraph::paintBackground(QPainter& painter) const {
    const int w = width();
    const int h = height();
    const int bottom = h - kBottomMargin;
    painter.setPen(QPen(kFrameColour, 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRect(0, 0, w - 1, h - 1), 1.5, 1.5);

    const int axisX = kLeftMargin - 5;
    painter.setPen(QPen(kAxisColour, 1));
    painter.drawLine(axisX, bottom, axisX, kTopMargin);

    QPen dotted(kGridColour, 1);
    dotted.setDashPattern({1, 1});
    painter.setPen(dotted);
    for (int y = bottom; y > kTopMargin; y -= kGridStep) {
        painter.drawLine(axisX, y, w - kRightMargin, y);
    }
}

void CSatGraph::paintBars(QPainter& painter, float maximum, bool income) {
    const int h = height();
    const int bottomLine = h - kBottomMargin;
    const float plotHeight = static_cast<float>(h - kTopMargin - kBottomMargin);
    const float slot = slotWidth();
    const QColor bottomColour = income ? kIncomeBottom : kOutgoBottom;
    const QColor topColour = income ? kIncomeTop : kOutgoTop;
    int x = income ? kLeftMargin : kLeftMargin + kOutgoOffset;
    for (Point& point : m_points) {
        float barHeight = (income ? point.income : point.outgo) * 100 / maximum * plotHeight / 100;
        barHeight = std::fabs(barHeight);
        if (!(barHeight >= 1.0f)) {  // also a value that is not a number
            barHeight = 1.0f;
        }
        // A negative value far beyond the maximum is cut at the control's top edge.
        barHeight = std::min(barHeight, static_cast<float>(h));
        int top = static_cast<int>(static_cast<float>(h) - barHeight);
        int height = static_cast<int>(barHeight - kBottomMargin);
        // Too small to show (even 0 pixels high): one pixel just above the bottom line.
        if (top > bottomLine || top + height > bottomLine || height < 1) {
            top = bottomLine - 1;
            height = 1;
        }
        const QRect bar = edges(x, top, x + static_cast<int>(slot), top + height);
        (income ? point.incomeRect : point.outgoRect) = bar;
        QLinearGradient gradient(0, bar.top(), 0, bar.top() + bar.height());
        gradient.setColorAt(0, topColour);
        gradient.setColorAt(1, bottomColour);
        painter.fillRect(bar, gradient);
        x = static_cast<int>(static_cast<float>(x) + kGap + slot);
    }
}

QStringList CSatGraph::scaleTexts() const {
    if (!hasBars()) {
        return {};
    }
    const int h = height();
    const float plotHeight = static_cast<float>(h - kTopMargin - kBottomMargin);
    const float step = maximum() * kGridStep / plotHeight;
    QStringList texts;
    int k = 0;
    for (int y = h - kBottomMargin; y > kTopMargin; y -= kGridStep, ++k) {
        texts << decimalComma(static_cast<double>(static_cast<float>(k) * step), 1);
    }
    return texts;
}

void CSatGraph::paintTexts(QPainter& painter) const {
    QRect box = rect().translated(5, 5);
    painter.setFont(DialogUnits::windowFont(QStringLiteral("Verdana"), 9));
    drawShadowedText(painter, box, m_title);
    if (m_hovered >= 0) {
        box.translate(0, 18);
        drawShadowedText(painter, box, hoverText());
    }

    painter.setFont(DialogUnits::windowFont(QStringLiteral("Tahoma"), 8));
    int y = height() - kBottomMargin;
    for (const QString& text : scaleTexts()) {
        drawShadowedText(painter, edges(5, y - 8, 69, y + 20), text);
        y -= kGridStep;
    }
}

void CSatGraph::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const QPoint position = event->position().toPoint();
    int hovered = -1;
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        if (m_points[i].incomeRect.contains(position) || m_points[i].outgoRect.contains(position)) {
            hovered = static_cast<int>(i);
            break;
        }
    }
    if (hovered != m_hovered) {
        m_hovered = hovered;
        update();
    }
}
