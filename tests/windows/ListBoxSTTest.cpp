// SPDX-License-Identifier: GPL-3.0-or-later
#include "CListBoxST.h"
#include "QtEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QSignalSpy>

namespace {

QIcon solidIcon(int size, const QColor& colour) {
    QPixmap pixmap(size, size);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

class ListBoxST : public ::testing::Test {
protected:
    void SetUp() override {
        m_list.resize(300, 300);
        m_list.show();
    }

    int lineHeight() const { return QFontMetrics(m_list.font()).height(); }
    int itemHeight(int row) const { return m_list.visualItemRect(m_list.item(row)).height(); }

    CListBoxST m_list;
};

TEST_F(ListBoxST, ThreeLinesWithSmallIconsAreThreeLinesPlusFourHigh) {
    m_list.SetImageList({solidIcon(16, Qt::red)}, QSize(16, 16));
    const int row = m_list.AddString(QStringLiteral("Błąd pobierania\r\nKonto: 1\nKod: -7"));
    EXPECT_EQ(0, row);
    EXPECT_EQ(3 * lineHeight() + 4, itemHeight(row));

    // The icon sits 3 pixels into its column and 2 below the item's top.
    const QImage image = QtEnvironment::render(*m_list.viewport());
    const QRect item = m_list.visualItemRect(m_list.item(row));
    EXPECT_EQ(QColor(Qt::red), image.pixelColor(item.left() + 3, item.top() + 2));
    EXPECT_NE(QColor(Qt::red), image.pixelColor(item.left() + 3, item.top() + 1));
    EXPECT_NE(QColor(Qt::red), image.pixelColor(item.left() + 2, item.top() + 2));
}

struct HeightCase {
    int iconSize;  // 0: no image list
    const char* text;
    int lines;
};

class ListBoxSTHeight : public ListBoxST, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(ListBoxSTHeight, TextOrIconPlusFour) {
    const HeightCase c = GetParam();
    if (c.iconSize > 0) {
        m_list.SetImageList({solidIcon(c.iconSize, Qt::blue)}, QSize(c.iconSize, c.iconSize));
    }
    const int row = m_list.AddString(QString::fromUtf8(c.text));
    const int expected = std::max(c.lines * lineHeight(), c.iconSize > 0 ? c.iconSize + 4 : 0) + 4;
    EXPECT_EQ(expected, itemHeight(row));
}

INSTANTIATE_TEST_SUITE_P(Items, ListBoxSTHeight,
                         ::testing::Values(HeightCase{32, "Jedna linia", 1},
                                           HeightCase{16, "Jedna linia", 1},
                                           HeightCase{0, "Jedna linia", 1},
                                           HeightCase{0, "a\nb", 2},
                                           HeightCase{32, "a\nb\nc\nd", 4}));

TEST_F(ListBoxST, OneLineWithLargeIconsIsForty) {
    m_list.SetImageList({solidIcon(32, Qt::blue)}, QSize(32, 32));
    EXPECT_EQ(40, itemHeight(m_list.AddString(QStringLiteral("Przekroczono czas"))));
}

TEST_F(ListBoxST, LongTextWrapsWithinTheTextArea) {
    m_list.SetImageList({solidIcon(16, Qt::blue)}, QSize(16, 16));
    const QString text = QStringLiteral("słowo ").repeated(40);
    const int row = m_list.AddString(text);
    EXPECT_GT(itemHeight(row), 3 * lineHeight());
}

TEST_F(ListBoxST, DeleteAllEmptiesAndAddingWorksAgain) {
    m_list.AddString(QStringLiteral("a"));
    m_list.AddString(QStringLiteral("b"));
    m_list.SetItemFlags(1, CListBoxST::DisabledFlag);
    m_list.DeleteAll();
    EXPECT_EQ(0, m_list.count());
    EXPECT_EQ(0, m_list.AddString(QStringLiteral("c")));
    EXPECT_EQ(0, m_list.item(0)->data(CListBoxST::ImageRole).toInt());
    EXPECT_EQ(0, m_list.item(0)->data(CListBoxST::FlagsRole).toInt());
    EXPECT_FALSE(m_list.isRowDisabled(0));
}

TEST_F(ListBoxST, DoubleClickOnDisabledItemGoesNoFurther) {
    m_list.AddString(QStringLiteral("enabled"));
    m_list.AddString(QStringLiteral("disabled"));
    m_list.SetItemFlags(1, CListBoxST::DisabledFlag);
    QSignalSpy spy(&m_list, &QListWidget::itemDoubleClicked);
    const auto doubleClick = [&](int row) {
        const QPointF at = m_list.visualItemRect(m_list.item(row)).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, m_list.viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_list.viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, m_list.viewport()->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_list.viewport(), &release);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, m_list.viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_list.viewport(), &twice);
    };
    doubleClick(1);
    EXPECT_EQ(0, spy.count());
    doubleClick(0);
    EXPECT_EQ(1, spy.count());
}

}  // namespace
