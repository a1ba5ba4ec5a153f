// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatePicker.h"

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>

namespace {

// Clicks into a part of the date once, as a user would, then types.
struct TypingCase {
    const char* name;
    QDate start;
    const char* part;  // text of the part clicked, as shown
    const char* keys;
    const char* shown;
};

void PrintTo(const TypingCase& c, std::ostream* os) {
    *os << c.name;
}

class DatePickerTyping : public ::testing::TestWithParam<TypingCase> {};

void clickOn(DatePicker& picker, const QString& part) {
    QLineEdit* edit = picker.findChild<QLineEdit*>();
    const QString text = edit->text();
    const qsizetype at = text.indexOf(part);
    ASSERT_GE(at, 0) << text.toStdString();
    const QFontMetrics metrics(edit->font());
    const int x = edit->textMargins().left() + 2 + metrics.horizontalAdvance(text.left(at)) +
                  metrics.horizontalAdvance(part) / 2;
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
}

TEST_P(DatePickerTyping, DigitsReplaceThePartClicked) {
    const TypingCase& c = GetParam();
    DatePicker picker;
    picker.resize(200, 24);
    picker.setDateTime(QDateTime(c.start, QTime(10, 0)));
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    clickOn(picker, QString::fromUtf8(c.part));
    QTest::keyClicks(&picker, QString::fromLatin1(c.keys));
    EXPECT_EQ(picker.text(), QString::fromUtf8(c.shown));
    EXPECT_EQ(picker.time(), QTime(10, 0)) << "the time of day stays";
}

INSTANTIATE_TEST_SUITE_P(
    Parts, DatePickerTyping,
    ::testing::Values(
        TypingCase{"Day", QDate(2012, 3, 15), "15", "20", "20 marca 2012"},
        TypingCase{"Year", QDate(2012, 3, 15), "2012", "2009", "15 marca 2009"},
        TypingCase{"MonthByNumber", QDate(2012, 3, 15), "marca", "7", "15 lipca 2012"},
        TypingCase{"TwoDigitMonth", QDate(2012, 3, 15), "marca", "12", "15 grudnia 2012"},
        TypingCase{"MonthThenYear", QDate(2012, 3, 15), "marca", "52011", "15 maja 2011"},
        TypingCase{"DayKeptWithinTheMonth", QDate(2012, 3, 31), "marca", "2", "29 lutego 2012"}),
    [](const auto& info) { return std::string(info.param.name); });

// Shown from the start value (1970), the calendar opens at the current month; once the user
// has picked a date, at that date's month.
TEST(DatePicker, CalendarOpensAtTheCurrentMonthWhileTheStartValueIsHeld) {
    const QDateTime start = QDateTime::fromSecsSinceEpoch(0);
    DatePicker picker;
    picker.setMinimumDateTime(start);
    picker.setDateTime(start);
    picker.setStartValue(start);
    picker.resize(200, 24);
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    const QPoint arrow(picker.width() - 5, picker.height() / 2);

    // The calendar is made by the first click, not by showing the picker.
    EXPECT_EQ(picker.findChild<QCalendarWidget*>(), nullptr);
    QTest::mouseClick(&picker, Qt::LeftButton, {}, arrow);
    QCalendarWidget* calendar = picker.calendarWidget();
    ASSERT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->yearShown(), QDate::currentDate().year());
    EXPECT_EQ(calendar->monthShown(), QDate::currentDate().month());
    calendar->window()->hide();

    picker.setDate(QDate(2011, 5, 20));
    QTest::mouseClick(&picker, Qt::LeftButton, {}, arrow);
    ASSERT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->yearShown(), 2011);
    EXPECT_EQ(calendar->monthShown(), 5);
    calendar->window()->hide();
}

}  // namespace
