// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndDigitsOnly.h"

#include <QKeyEvent>
#include <QLineEdit>

void CWndDigitsOnly::install(QLineEdit* edit) {
    edit->installEventFilter(new CWndDigitsOnly(edit));
}

bool CWndDigitsOnly::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    // Shortcuts (copy, paste, select all) and editing keys go through.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint()) {
        return false;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return true;
        }
    }
    return false;
}
