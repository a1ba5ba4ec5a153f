// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatePicker.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <algorithm>

const QString DatePicker::kDisplayFormat = QStringLiteral("d MMMM yyyy");

DatePicker::DatePicker(QWidget* parent) : QDateTimeEdit(parent) {
    setLocale(QLocale(QLocale::Polish));
    setCalendarPopup(true);
    setDisplayFormat(kDisplayFormat);
    lineEdit()->installEventFilter(this);
}

void DatePicker::watchCalendar() {
    if (m_calendar == nullptr) {
        m_calendar = calendarWidget();
        m_calendar->installEventFilter(this);
    }
}

void DatePicker::mousePressEvent(QMouseEvent* event) {
    watchCalendar();
    QDateTimeEdit::mousePressEvent(event);
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease) {
        // The editor places its cursor first; then the part under it is selected, so that
        // the next digits replace it instead of being refused as a malformed date.
        const bool handled = lineEdit()->event(event);
        setSelectedSection(currentSection());
        m_typedMonth = 0;
        return handled;
    }
    if (m_calendar != nullptr && watched == m_calendar && event->type() == QEvent::Show &&
        m_startValue.isValid() && dateTime() == m_startValue) {
        const QDate today = QDate::currentDate();
        m_calendar->setCurrentPage(today.year(), today.month());
    }
    return QDateTimeEdit::eventFilter(watched, event);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    watchCalendar();
    const QString text = event->text();
    if (currentSection() == MonthSection && text.size() == 1 && text[0].isDigit()) {
        if (typeMonthDigit(text[0].digitValue())) {
            event->accept();
            return;
        }
    }
    m_typedMonth = 0;
    QDateTimeEdit::keyPressEvent(event);
}

void DatePicker::focusOutEvent(QFocusEvent* event) {
    m_typedMonth = 0;
    QDateTimeEdit::focusOutEvent(event);
}

// The month shows its name, which digits cannot edit: digits set it by number instead. "1"
// waits for a possible second digit (10-12); a month that cannot take another digit moves on
// to the next part, as the day and the year do when they are full.
bool DatePicker::typeMonthDigit(int digit) {
    const int typed = m_typedMonth * 10 + digit;
    const int month = typed >= 1 && typed <= 12 ? typed : digit;
    if (month < 1) {
        m_typedMonth = 0;
        return digit == 0;  // a leading zero waits for the month's digit
    }
    // Stepping the month keeps the day within the month and the parts' places in step with
    // the new month name.
    stepBy(month - date().month());
    if (month * 10 > 12) {
        m_typedMonth = 0;
        setCurrentSectionIndex(std::min(currentSectionIndex() + 1, sectionCount() - 1));
        setSelectedSection(currentSection());
    } else {
        m_typedMonth = month;
        setSelectedSection(MonthSection);
    }
    return true;
}
