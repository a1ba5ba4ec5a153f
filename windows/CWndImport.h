// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CsvProfiles.h"
#include "StatementImport.h"

#include <QDialog>
#include <QStringList>
#include <filesystem>
#include <vector>

class CWndImportPage;
class QTabWidget;

namespace sqlite3x {
class connection;
}

// Imports statement files: one tab per file with its preview; "Importuj" stores the ticked
// operations of every tab together, or nothing. Run modally:
//   CWndImport dlg(connection, mainWindow);
//   if (dlg.addFiles(paths) > 0 && dlg.exec() == QDialog::Accepted) { dlg.summaries() ... }
// Files that cannot be read are named in one message and get no tab.
class CWndImport : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTabs = 1100;
    static constexpr int kImport = 1;
    static constexpr int kCancel = 2;

    explicit CWndImport(sqlite3x::connection& database, QWidget* parent = nullptr);
    // With the CSV profiles of another file than the data folder's.
    CWndImport(sqlite3x::connection& database, std::filesystem::path profilesFile,
               QWidget* parent = nullptr);

    // Returns the number of tabs.
    int addFiles(const QStringList& paths);
    CWndImportPage* page(int index) const;
    int pageCount() const;

    // After "Importuj": one summary per tab, in tab order.
    const std::vector<ImportSummary>& summaries() const { return m_summaries; }
    QStringList fileNames() const;

private:
    void importAll();
    bool readyToImport();
    void warnOfUnreadProfiles();

    sqlite3x::connection& m_database;
    CsvProfiles m_profiles;
    bool m_profilesWarned = false;
    QTabWidget* m_tabs = nullptr;
    std::vector<ImportSummary> m_summaries;
};
