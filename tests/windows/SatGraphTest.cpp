// SPDX-License-Identifier: GPL-3.0-or-later
#include "CMemDC.h"
#include "CSatGraph.h"
#include "QtEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <limits>

namespace {

using QtEnvironment::hasDarkPixel;
using QtEnvironment::render;

class GraphPainting : public ::testing::Test {
protected:
    void SetUp() override { m_graph.resize(600, 400); }

    QImage paint() { return render(m_graph); }

    void move(QPoint position) {
        QMouseEvent event(QEvent::MouseMove, QPointF(position),
                          m_graph.mapToGlobal(QPointF(position)), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&m_graph, &event);
    }

    const CSatGraph::Point& point(std::size_t i) const { return m_graph.points().at(i); }

    CSatGraph m_graph;
};

TEST_F(GraphPainting, SlotWidthOfTwelveMonthsAtSixHundredPixels) {
    for (int i = 0; i < 12; ++i) {
        m_graph.AddPoint(100, 50, QStringLiteral("2011 - %1").arg(i + 1));
    }
    EXPECT_EQ(37.0f, m_graph.slotWidth());
    paint();
    EXPECT_EQ(64, point(0).incomeRect.left());
    EXPECT_EQ(37, point(0).incomeRect.width());
    EXPECT_EQ(67, point(0).outgoRect.left());
    EXPECT_EQ(64 + 44, point(1).incomeRect.left());
    EXPECT_EQ(67 + 44 * 11, point(11).outgoRect.left());
}

TEST_F(GraphPainting, TallestBarReachesFiveBelowTopMarginAndAllEndOnBottomLine) {
    m_graph.AddPoint(1000, 250, QStringLiteral("2011 - 01"));
    m_graph.AddPoint(-400, 0.001f, QStringLiteral("2011 - 02"));
    const QImage image = paint();
    const int bottom = 400 - 5;

    const QRect tallest = point(0).incomeRect;
    EXPECT_EQ(50, tallest.top());
    EXPECT_EQ(bottom, tallest.top() + tallest.height());
    // Gradient: bright blue at the top edge, dark blue at the bottom edge, nothing above.
    const int x = tallest.left() + 5;
    EXPECT_NEAR(0xFF, image.pixelColor(x, 50).blue(), 2);
    EXPECT_EQ(0, image.pixelColor(x, 50).red());
    EXPECT_NEAR(0x99, image.pixelColor(x, bottom - 1).blue(), 3);
    EXPECT_NE(0, image.pixelColor(x, 49).red());
    // The outgo bar shows 3 pixels right of the income bar, in red.
    const QColor outgo = image.pixelColor(tallest.right() + 2, bottom - 2);
    EXPECT_GT(outgo.red(), 0x40);
    EXPECT_EQ(0, outgo.blue());

    // A negative value is drawn with its absolute height but does not raise the maximum.
    EXPECT_EQ(bottom - point(1).incomeRect.top(), (400 - 50) * 4 / 10 - 5);
    // Too small to show: one pixel right above the bottom line.
    EXPECT_EQ(QRect(point(1).outgoRect.left(), bottom - 1, point(1).outgoRect.width(), 1),
              point(1).outgoRect);
}

TEST_F(GraphPainting, BarBetweenFiveAndSixPixelsStillGetsOnePixel) {
    // 5.5 pixels of 350 would give a bar of height 0.
    m_graph.AddPoint(350, 5.5f, QStringLiteral("2011 - 01"));
    paint();
    EXPECT_EQ(1, point(0).outgoRect.height());
    EXPECT_EQ(400 - 6, point(0).outgoRect.top());
}

struct TitleCase {
    const char* name;
    std::vector<std::pair<float, float>> values;
    bool titleShown;
};

class GraphTitle : public GraphPainting, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(GraphTitle, TitleAndScaleOnlyWithSomethingToDraw) {
    for (const auto& [income, outgo] : GetParam().values) {
        m_graph.AddPoint(income, outgo, QStringLiteral("2011 - 01"));
    }
    m_graph.SetTitle(QStringLiteral("Średnie miesięczne obroty na rachunku: 200,0pln"));
    const QImage image = paint();
    // Title band and the scale column, both clear of frame, axis and grid.
    EXPECT_EQ(GetParam().titleShown, hasDarkPixel(image, QRect(5, 3, 580, 20), 60));
    EXPECT_EQ(GetParam().titleShown, hasDarkPixel(image, QRect(3, 300, 50, 95), 60));
    // Frame and axis are always there, the grid where no bar covers it.
    EXPECT_EQ(QColor(0x66, 0x66, 0x66), image.pixelColor(0, 200));
    EXPECT_EQ(QColor(0xDD, 0xDD, 0xDD), image.pixelColor(59, 100));
    if (!GetParam().titleShown) {
        EXPECT_TRUE(
            QtEnvironment::contains(image, QRect(300, 365, 100, 1), QColor(0xEE, 0xEE, 0xEE)));
    }
}

INSTANTIATE_TEST_SUITE_P(Points, GraphTitle,
                         ::testing::Values(TitleCase{"none", {}, false},
                                           TitleCase{"zeros", {{0, 0}, {0, 0}}, false},
                                           TitleCase{"values", {{10, 20}}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GraphPainting, HoverLineFollowsTheMouseOverBars) {
    m_graph.AddPoint(1234.5f, 0, QStringLiteral("2011 - 01"));
    m_graph.AddPoint(10, 20, QStringLiteral("2011 - 02"));
    EXPECT_FALSE(hasDarkPixel(paint(), QRect(5, 24, 580, 14), 60));

    move(point(1).outgoRect.center());
    EXPECT_EQ(1, m_graph.hoveredPoint());
    move(point(0).incomeRect.center());
    ASSERT_EQ(0, m_graph.hoveredPoint());
    EXPECT_EQ(QStringLiteral("Miesiąc: 2011 - 01, Wpłaty 1234,50pln, Wypłaty: 0,00pln"),
              m_graph.hoverText());
    EXPECT_TRUE(hasDarkPixel(paint(), QRect(5, 24, 580, 14), 60));

    move(QPoint(30, 30));
    EXPECT_EQ(-1, m_graph.hoveredPoint());
    EXPECT_FALSE(hasDarkPixel(paint(), QRect(5, 24, 580, 14), 60));
}

TEST_F(GraphPainting, ClearForgetsTheHoveredPoint) {
    m_graph.AddPoint(5, 5, QStringLiteral("2011 - 01"));
    paint();
    move(point(0).incomeRect.center());
    ASSERT_EQ(0, m_graph.hoveredPoint());
    m_graph.Clear();
    EXPECT_EQ(-1, m_graph.hoveredPoint());
    EXPECT_TRUE(m_graph.hoverText().isEmpty());
    paint();
}

}  // namespace

namespace {

TEST_F(GraphPainting, ScaleTextsUseADecimalCommaPerGridLine) {
    m_graph.AddPoint(1000, 0, QStringLiteral("2011 - 01"));
    const QStringList texts = m_graph.scaleTexts();
    // Grid lines at 395, 365, ... 65: twelve of them; step 1000 * 30 / 350.
    ASSERT_EQ(12, texts.size());
    EXPECT_EQ(QStringLiteral("0,0"), texts[0]);
    EXPECT_EQ(QStringLiteral("85,7"), texts[1]);
    EXPECT_EQ(QStringLiteral("942,9"), texts[11]);
}

TEST_F(GraphPainting, OddValuesAndSizesPaintSafely) {
    m_graph.AddPoint(10, -1e30f, QStringLiteral("2011 - 01"));
    m_graph.AddPoint(std::numeric_limits<float>::quiet_NaN(), 5, QStringLiteral("2011 - 02"));
    paint();
    EXPECT_EQ(0, point(0).outgoRect.top());
    EXPECT_EQ(1, point(1).incomeRect.height());
    m_graph.resize(40, 30);  // no room for a plot
    paint();
    EXPECT_TRUE(m_graph.scaleTexts().isEmpty());
    for (int i = 0; i < 200; ++i) {  // more months than pixels
        m_graph.AddPoint(1, 1, QStringLiteral("x"));
    }
    m_graph.resize(300, 200);
    EXPECT_EQ(0.0f, m_graph.slotWidth());
    paint();
}

TEST(MemDC, PaintsOffscreenAndCopiesTheRectangleOut) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::green);
    {
        QPainter target(&image);
        target.setBackground(Qt::white);
        CMemDC dc(target, QRect(10, 10, 20, 20));
        EXPECT_TRUE(dc.isOffscreen());
        dc->fillRect(QRect(15, 15, 2, 2), Qt::red);
        dc->fillRect(QRect(0, 0, 40, 5), Qt::blue);              // outside the rectangle: lost
        EXPECT_EQ(QColor(Qt::green), image.pixelColor(15, 15));  // nothing copied yet
    }
    EXPECT_EQ(QColor(Qt::red), image.pixelColor(15, 15));
    EXPECT_EQ(QColor(Qt::white), image.pixelColor(10, 10));
    EXPECT_EQ(QColor(Qt::white), image.pixelColor(29, 29));
    EXPECT_EQ(QColor(Qt::green), image.pixelColor(9, 9));
    EXPECT_EQ(QColor(Qt::green), image.pixelColor(30, 30));
    EXPECT_EQ(QColor(Qt::green), image.pixelColor(20, 2));
}

}  // namespace
