// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImportPreview.h"
#include "ImportSet.h"
#include "TextDecoding.h"

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace sqlite3x {
class connection;
}

// One statement file in the import window (a tab): what was read from it, the balance check and
// a preview of every operation with a tick to include it.
class CWndImportPage : public QWidget {
    Q_OBJECT
public:
    // Control ids; the table's columns.
    enum Id {
        kFormat = 1101,
        kCodePage = 1102,
        kAccounts = 1103,
        kPeriod = 1104,
        kBalance = 1105,
        kIgnoreBalance = 1106,
        kImportedBefore = 1107,
        kTable = 1108,
        kCounts = 1109,
        kAccountInput = 1110,
    };
    enum Column { kTick, kOperationDate, kBookingDate, kCounterparty, kTitle, kAmount, kState };

    // Reads the file with the code page it appears to be in. Throws ImportError when the file
    // cannot be read at all (the window then opens no tab for it).
    CWndImportPage(sqlite3x::connection& database, const QString& path, std::string bytes,
                   QWidget* parent = nullptr);

    QString fileName() const;
    // Why the file cannot be imported as it now reads (for example after a code page change);
    // empty when it can.
    QString problem() const { return m_problem; }
    // The balances disagree and the user has not ticked to import anyway.
    bool balanceHeld() const;
    // The file with the ticked operations, for ImportSet.
    ImportFile importFile() const;
    // Re-reads the file in another code page; the preview follows.
    void setEncoding(TextEncoding encoding);
    TextEncoding encoding() const { return m_encoding; }

private:
    ImportRequest previewRequest() const;
    // The file names no valid account of its own: the user types it in the account field.
    bool needsAccount() const;
    void read();
    void preview();
    void fillTable();
    void showBalance();
    void showCounts();

    sqlite3x::connection& m_database;
    QString m_path;
    std::string m_bytes;
    std::string m_sha256;
    TextEncoding m_encoding;
    StatementFile m_file;
    PreviewResult m_preview;
    QString m_problem;
    bool m_balanceDisagrees = false;

    QLabel* m_format = nullptr;
    QComboBox* m_codePage = nullptr;
    QLabel* m_accounts = nullptr;
    QLineEdit* m_accountInput = nullptr;
    QLabel* m_period = nullptr;
    QLabel* m_balance = nullptr;
    QCheckBox* m_ignoreBalance = nullptr;
    QLabel* m_importedBefore = nullptr;
    QTableView* m_table = nullptr;
    QStandardItemModel* m_model = nullptr;
    QLabel* m_counts = nullptr;
};
