// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An edit that takes only digits from the keyboard, as a number-style edit does: pasted text
// is not filtered, so callers still check what they read.

#include <QObject>

class QLineEdit;

class CWndDigitsOnly : public QObject {
    Q_OBJECT
public:
    // Installs itself on the edit and lives as its child.
    static void install(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CWndDigitsOnly(QObject* parent) : QObject(parent) {}
};
