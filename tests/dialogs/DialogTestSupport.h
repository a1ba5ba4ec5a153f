// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the window tests: a database file in a temporary folder and control lookup.

#include "DialogTemplate.h"
#include "Schema.h"
#include "sqlite3x.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <string>
#include <vector>

// A real database file with both tables, in a folder removed after the test.
class TestDatabase {
public:
    TestDatabase() {
        Schema::OpenDatabase(con, (m_dir.path() + "/masterDatabase.sq3").toStdU16String(),
                             [](const std::u16string&) {});
    }
    QString folder() const { return m_dir.path(); }

    sqlite3x::connection con;

private:
    QTemporaryDir m_dir;
};

// The control with the id, failing the test when it is missing.
template <class W>
W* control(const QWidget* window, int id) {
    W* widget = DialogTemplate::find<W>(window, id);
    EXPECT_NE(widget, nullptr) << "no control " << id;
    return widget;
}

inline QString qs(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
