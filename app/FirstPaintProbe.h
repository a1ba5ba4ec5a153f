// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QAbstractItemView;

// Runs something once the list has been painted and shown: start-up's work that must not compete
// with the first paint, and, for the start-up benchmark, with TAVRO_FIRST_PAINT=exit in the
// environment, "first_paint" on the standard error once the list has painted rows, then the end.
class FirstPaintProbe : public QObject {
    Q_OBJECT
public:
    // `then` runs from the event loop after the first paint (of rows, when asked).
    static void whenPainted(QAbstractItemView* list, bool ofRows, std::function<void()> then);
    // Watches the list when the environment asks for it; else does nothing.
    static void installIfAsked(QAbstractItemView* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FirstPaintProbe(QAbstractItemView* list, bool ofRows, std::function<void()> then);

    QAbstractItemView* m_list;
    bool m_ofRows;
    std::function<void()> m_then;
    bool m_seen = false;
};
