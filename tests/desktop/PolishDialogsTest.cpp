// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts are Polish under LANG=C once the program's locale is installed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

#include "PolishLocale.h"

namespace {

QString withoutMnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}

class PolishDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(PolishLocale::install(*qApp)); }
};

TEST_F(PolishDialogs, MessageBoxButtonsArePolish) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tavro"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.show();
    EXPECT_EQ(withoutMnemonic(box.button(QMessageBox::Yes)->text()), QStringLiteral("Tak"));
    EXPECT_EQ(withoutMnemonic(box.button(QMessageBox::No)->text()), QStringLiteral("Nie"));
    EXPECT_EQ(withoutMnemonic(box.button(QMessageBox::Cancel)->text()), QStringLiteral("Anuluj"));
}

TEST_F(PolishDialogs, DatePickerCalendarIsPolish) {
    QDateEdit picker(QDate(2026, 1, 15));
    picker.setCalendarPopup(true);
    QCalendarWidget* calendar = picker.calendarWidget();
    ASSERT_NE(calendar, nullptr);
    calendar->setSelectedDate(QDate(2026, 1, 15));
    calendar->show();
    const auto* month =
        calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text().toLower(), QStringLiteral("styczeń"));
    EXPECT_EQ(calendar->locale().dayName(1, QLocale::ShortFormat).toLower(),
              QStringLiteral("pon."));
}

}  // namespace
