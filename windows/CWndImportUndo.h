// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImportUndo.h"

#include <QDialog>
#include <vector>

class QStandardItemModel;
class QTableView;

namespace sqlite3x {
class connection;
}

// The imports done so far, newest first; "Cofnij import" takes the selected one back after a
// question. Run modally; changed() says whether the main list must be reloaded.
class CWndImportUndo : public QDialog {
    Q_OBJECT
public:
    static constexpr int kList = 1200;
    static constexpr int kUndo = 1201;
    static constexpr int kClose = 2;
    enum Column { kFile, kTime, kFormat, kStored, kKnown, kProbable, kSkipped };

    explicit CWndImportUndo(sqlite3x::connection& database, QWidget* parent = nullptr);

    bool changed() const { return m_changed; }
    const std::vector<ImportBatchInfo>& batches() const { return m_batches; }
    QTableView* list() const { return m_list; }

private:
    void reload();
    void undoSelected();

    sqlite3x::connection& m_database;
    std::vector<ImportBatchInfo> m_batches;
    QTableView* m_list = nullptr;
    QStandardItemModel* m_model = nullptr;
    bool m_changed = false;
};
