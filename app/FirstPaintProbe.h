// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>

class QAbstractItemView;

// For the start-up benchmark: with TAVRO_FIRST_PAINT=exit in the environment, the program
// prints "first_paint" to the standard error once the list has painted rows, and ends.
class FirstPaintProbe : public QObject {
    Q_OBJECT
public:
    // Watches the list when the environment asks for it; else does nothing.
    static void installIfAsked(QAbstractItemView* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FirstPaintProbe(QAbstractItemView* list);

    QAbstractItemView* m_list;
    bool m_seen = false;
};
