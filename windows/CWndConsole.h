// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QListWidget;

// The program's log: a modeless window with a growing list of lines. "OK" and the close box only
// hide it; the lines stay.
class CWndConsole : public QDialog {
    Q_OBJECT
public:
    static constexpr int kListId = 1003;

    explicit CWndConsole(QWidget* parent = nullptr);

    // Appends the line and selects it, so the newest line is in view. Callable from any thread:
    // from another thread it waits until the GUI thread has added the line (so the GUI thread
    // must not be waiting for the caller at that moment).
    void AddLine(const QString& text);

    QStringList lines() const;
    QListWidget* list() const { return m_list; }

private:
    void appendLine(const QString& text);

    QListWidget* m_list = nullptr;
};
