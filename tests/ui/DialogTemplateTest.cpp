#include "DialogTemplate.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

struct FontCase {
    const char* family;
    int pointSize;
    bool bold;
};

class DialogUnitsFonts : public ::testing::TestWithParam<FontCase> {};

// value * base / parts, rounded half away from zero.
int scaled(int value, int base, int parts) {
    return static_cast<int>(std::lround(static_cast<double>(value) * base / parts));
}

TEST_P(DialogUnitsFonts, ControlLandsAtRectFromFontMetrics) {
    const FontCase c = GetParam();
    const QFont font = DialogUnits::windowFont(QString::fromLatin1(c.family), c.pointSize, c.bold);
    const QFontMetrics metrics(font);
    const int baseX = (metrics.horizontalAdvance(
                           QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                           26 +
                       1) /
                      2;
    const int baseY = metrics.height();

    QDialog dialog;
    DialogTemplate tpl(&dialog, font);
    EXPECT_EQ(baseX, tpl.units().baseX());
    EXPECT_EQ(baseY, tpl.units().baseY());
    tpl.setClientSize(314, 193);
    EXPECT_EQ(QSize(scaled(314, baseX, 4), scaled(193, baseY, 8)), dialog.size());

    const DluRect rect{9, 14, 296, 143};
    QWidget* edit = tpl.add({1004, ControlKind::Edit, {}, rect});
    EXPECT_EQ(QRect(scaled(9, baseX, 4), scaled(14, baseY, 8), scaled(296, baseX, 4),
                    scaled(143, baseY, 8)),
              edit->geometry());
    EXPECT_EQ(edit, DialogTemplate::find<QLineEdit>(&dialog, 1004));
    EXPECT_EQ(font, edit->font());
}

INSTANTIATE_TEST_SUITE_P(Fonts, DialogUnitsFonts,
                         ::testing::Values(FontCase{"Verdana", 8, false},
                                           FontCase{"Lucida Console", 9, false},
                                           FontCase{"Verdana", 11, true}));

TEST(DialogUnits, RoundsHalfAwayFromZero) {
    const DialogUnits units(DialogUnits::windowFont());
    // With an odd base, 2 units are half a base: an exact .5 that must round up.
    for (int dlu : {0, 1, 2, 3, 7, 45, 261}) {
        EXPECT_EQ(scaled(dlu, units.baseX(), 4), units.toPixelsX(dlu)) << dlu;
        EXPECT_EQ(scaled(dlu, units.baseY(), 8), units.toPixelsY(dlu)) << dlu;
    }
    EXPECT_EQ(-units.toPixelsX(6), units.toPixelsX(-6));
}

TEST(DialogTemplate, BuildsTheTableInOrderWithIdsAsNames) {
    QDialog dialog;
    DialogTemplate tpl(&dialog);
    tpl.add({
        {1010, ControlKind::Label, QStringLiteral("&Nazwa:"), {5, 5, 40, 8}},
        {1011, ControlKind::Edit, {}, {50, 5, 80, 12}},
        {1012, ControlKind::DropDownList, {}, {50, 20, 80, 120}},
        {1, ControlKind::DefPushButton, QStringLiteral("OK"), {50, 40, 50, 14}},
    });
    auto* label = tpl.control<QLabel>(1010);
    auto* edit = tpl.control<QLineEdit>(1011);
    auto* combo = tpl.control<QComboBox>(1012);
    auto* ok = tpl.control<QPushButton>(1);
    ASSERT_TRUE(label && edit && combo && ok);
    // A label with a mnemonic focuses the control after it.
    EXPECT_EQ(edit, label->buddy());
    EXPECT_TRUE(ok->isDefault());
    // The template height of a combo box is its dropped-down list; the closed box is its own.
    EXPECT_EQ(combo->sizeHint().height(), combo->height());
    EXPECT_EQ(tpl.units().toPixelsY(20), combo->y());
    // Creation order is the tab order.
    EXPECT_EQ(combo, edit->nextInFocusChain());
}

TEST(DialogTemplate, PlacesOwnWidgetsWithTheirId) {
    QDialog dialog;
    DialogTemplate tpl(&dialog);
    auto* own = tpl.place(new QWidget(&dialog), 1064, {5, 10, 20, 30});
    EXPECT_EQ(QStringLiteral("1064"), own->objectName());
    EXPECT_EQ(tpl.units().toPixels(DluRect{5, 10, 20, 30}), own->geometry());
    EXPECT_EQ(own, tpl.control<QWidget>(1064));
}

TEST(DialogTemplate, GroupBoxListedAfterItsControlsStaysBelowThem) {
    QDialog dialog;
    DialogTemplate tpl(&dialog);
    QWidget* check =
        tpl.add({1020, ControlKind::CheckBox, QStringLiteral("Ukryj"), {10, 20, 60, 10}});
    tpl.add({1021, ControlKind::GroupBox, QStringLiteral("Opcje"), {5, 5, 100, 50}});
    dialog.resize(300, 200);
    dialog.show();
    EXPECT_EQ(check, dialog.childAt(check->geometry().center()));
}

}  // namespace
