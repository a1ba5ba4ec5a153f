// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaintProbe.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>

FirstPaintProbe::FirstPaintProbe(QAbstractItemView* list, bool ofRows, std::function<void()> then)
    : QObject(list), m_list(list), m_ofRows(ofRows), m_then(std::move(then)) {}

void FirstPaintProbe::whenPainted(QAbstractItemView* list, bool ofRows,
                                  std::function<void()> then) {
    // Owned by the list.
    list->viewport()->installEventFilter(new FirstPaintProbe(list, ofRows, std::move(then)));
}

void FirstPaintProbe::installIfAsked(QAbstractItemView* list) {
    if (list == nullptr || qgetenv("TAVRO_FIRST_PAINT") != "exit") {
        return;
    }
    whenPainted(list, true, [] {
        std::fprintf(stderr, "first_paint\n");
        std::fflush(stderr);
        QCoreApplication::exit(0);
    });
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event) {
    if (!m_seen && event->type() == QEvent::Paint &&
        (!m_ofRows || (m_list->model() != nullptr && m_list->model()->rowCount() > 0))) {
        m_seen = true;
        // After the paint has been done and shown.
        QTimer::singleShot(0, this, [this] { m_then(); });
    }
    return QObject::eventFilter(watched, event);
}
