// SPDX-License-Identifier: GPL-3.0-or-later
#include "CUIInfoLabel.h"
#include "CUIWin7Dialog.h"
#include "CUIWrappedText.h"
#include "QtEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>

namespace {

using QtEnvironment::contains;
using QtEnvironment::render;

class Win7Dialog : public ::testing::Test {
protected:
    void SetUp() override { m_dialog.resize(400, 300); }
    CUIWin7Dialog m_dialog;
};

TEST_F(Win7Dialog, PaintsWhiteClientHeaderAndButtonBand) {
    m_dialog.SetHeader(QStringLiteral("Opcje"), QStringLiteral("Różne opcje"));
    const QImage image = render(m_dialog);
    EXPECT_EQ(QColor(Qt::white), image.pixelColor(200, 150));
    EXPECT_EQ(CUIWin7Dialog::kSeparatorColour, image.pixelColor(200, 250));
    EXPECT_EQ(CUIWin7Dialog::kBandColour, image.pixelColor(200, 251));
    EXPECT_EQ(CUIWin7Dialog::kBandColour, image.pixelColor(399, 299));
    // The title's own colour is used in the header band, the description's below it.
    EXPECT_TRUE(contains(image, QRect(10, 0, 200, 32), CUIWin7Dialog::kTitleColour));
    EXPECT_TRUE(contains(image, QRect(10, 36, 200, 20), CUIWin7Dialog::kDescriptionColour));
}

TEST_F(Win7Dialog, EmptyDescriptionShowsOnlyTheTitle) {
    m_dialog.SetHeader(QStringLiteral("Szczegóły operacji"), QString());
    const QImage image = render(m_dialog);
    EXPECT_TRUE(contains(image, QRect(10, 0, 200, 32), CUIWin7Dialog::kTitleColour));
    EXPECT_FALSE(QtEnvironment::hasDarkPixel(image, QRect(0, 33, 400, 200), 0xF0));
}

TEST_F(Win7Dialog, ControlsInTheBandAreGreyAndReadOnlyEditsKeepTheirColour) {
    auto* ok = new QPushButton(QStringLiteral("OK"), &m_dialog);
    ok->setGeometry(300, 265, 80, 24);
    auto* field = new QLineEdit(&m_dialog);
    field->setGeometry(10, 60, 200, 20);
    auto* readOnly = new QLineEdit(&m_dialog);
    readOnly->setReadOnly(true);
    readOnly->setGeometry(10, 90, 200, 20);
    auto* readOnlyInBand = new QLineEdit(&m_dialog);
    readOnlyInBand->setReadOnly(true);
    readOnlyInBand->setGeometry(10, 265, 100, 20);
    m_dialog.show();

    const QColor readOnlyColour = QApplication::palette().color(QPalette::Window);
    EXPECT_EQ(CUIWin7Dialog::kBandColour, ok->palette().color(QPalette::Window));
    EXPECT_EQ(QColor(Qt::white), field->palette().color(QPalette::Window));
    EXPECT_EQ(readOnlyColour, readOnly->palette().color(QPalette::Base));
    EXPECT_EQ(readOnlyColour, readOnlyInBand->palette().color(QPalette::Base));

    // Moving a control into the band recolours it.
    field->move(10, 270);
    EXPECT_EQ(CUIWin7Dialog::kBandColour, field->palette().color(QPalette::Window));
    m_dialog.resize(400, 400);
    EXPECT_EQ(QColor(Qt::white), field->palette().color(QPalette::Window));
}

TEST(WrappedText, LongTextWrapsAndEndsWithAnEllipsisWhereItIsCut) {
    const QFont font = CUIWin7Dialog::descriptionFont();
    const QFontMetrics metrics(font);
    const QString text = QStringLiteral("Różne opcje dotyczące zachowania programu ").repeated(10);
    const QStringList lines = CUIWrappedText::lines(font, text, 200, 3 * metrics.height());
    ASSERT_EQ(3, lines.size());
    EXPECT_TRUE(lines.back().endsWith(QChar(0x2026)));
    EXPECT_FALSE(lines.front().endsWith(QChar(0x2026)));
    for (const QString& line : lines) {
        EXPECT_LE(metrics.horizontalAdvance(line), 200) << line.toStdString();
    }
}

TEST(WrappedText, ShortTextAndCutAtALineBreak) {
    const QFont font = CUIWin7Dialog::descriptionFont();
    const int line = QFontMetrics(font).height();
    EXPECT_EQ(QStringList{QStringLiteral("Opcje")},
              CUIWrappedText::lines(font, QStringLiteral("Opcje"), 300, line));
    EXPECT_EQ((QStringList{QStringLiteral("a"), QStringLiteral("b")}),
              CUIWrappedText::lines(font, QStringLiteral("a\r\nb"), 300, 5 * line));
    const QStringList cut = CUIWrappedText::lines(font, QStringLiteral("a\nb"), 300, line);
    ASSERT_EQ(1, cut.size());
    EXPECT_TRUE(cut[0].startsWith(u'a'));
    EXPECT_TRUE(cut[0].endsWith(QChar(0x2026)));
}

TEST(InfoLabel, FramedTextBesideTheIcon) {
    CUIInfoLabel label(QStringLiteral("Tavro History"));
    label.resize(500, 28);
    label.SetInfoIcon();
    EXPECT_TRUE(label.hasIcon());
    label.SetInfoText(QStringLiteral("Operacje [ w sumie: 0, Obc: 0 Uzn: 0 ]"));
    const QImage image = render(label);
    EXPECT_EQ(QColor(0xAA, 0xAA, 0xAC), image.pixelColor(100, 0));
    EXPECT_EQ(QColor(Qt::white), image.pixelColor(2, 14));
    // The text starts right of the icon column.
    EXPECT_FALSE(QtEnvironment::hasDarkPixel(image, QRect(22, 2, 4, 24), 80));
    EXPECT_TRUE(QtEnvironment::hasDarkPixel(image, QRect(26, 6, 200, 16), 80));
}

}  // namespace
