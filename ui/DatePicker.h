// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCalendarWidget>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QPointer>

// A date picker as the system's date picker control behaves: the Polish long date ("15 marca
// 2012"), a click selects the part under the mouse so that digits typed replace it (the month
// too, by its number), and the calendar opens at the current month while the picker still
// holds its start value.
class DatePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    // The Polish long date as the system's date picker shows it. The locale's own long form
    // adds the day of the week, which does not fit the pickers' width.
    static const QString kDisplayFormat;

    explicit DatePicker(QWidget* parent = nullptr);

    // While the picker holds this value, its calendar opens at the current month instead of at
    // the value's month. Unset (invalid), the calendar always opens at the value's month.
    void setStartValue(const QDateTime& value) { m_startValue = value; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool typeMonthDigit(int digit);
    // The calendar is made when a click or a key may first open it, not with the picker: the
    // first one in the program takes some 9 ms to make.
    void watchCalendar();

    QDateTime m_startValue;
    int m_typedMonth = 0;                  // digits typed into the month so far, 0 when none
    QPointer<QCalendarWidget> m_calendar;  // once made and watched
};
