// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CsvProfile.h"
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
class QPushButton;
class CImportPreviewModel;
class QTableView;

class CsvProfiles;

namespace sqlite3x {
class connection;
}

// One statement file in the import window (a tab): what was read from it, the balance check and
// a preview of every operation with a tick to include it.
class CWndImportPage : public QWidget {
    Q_OBJECT
public:
    // Control ids (the table's columns are CImportPreviewModel's).
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
        kProfile = 1111,
        kNewProfile = 1112,
        kEditProfile = 1113,
        kDeleteProfile = 1114,
    };

    // Reads the file with the code page it appears to be in; a bank's CSV with the profile whose
    // header line it holds. Throws ImportError when the file is in no format known and no table
    // (the window then opens no tab for it).
    CWndImportPage(sqlite3x::connection& database, CsvProfiles& profiles, const QString& path,
                   std::string bytes, QWidget* parent = nullptr);

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

    // A bank's CSV: read with a profile the user chooses, makes or changes here.
    bool isBankCsv() const { return m_csv; }
    const std::optional<CsvProfile>& profile() const { return m_profile; }
    // Reads the file with the profile of that name (nothing when there is none).
    void chooseProfile(const QString& name);
    // The profiles changed in another tab: lists them again and re-reads with the current one.
    void refreshProfiles();

signals:
    void profilesChanged();

private:
    ImportRequest previewRequest() const;
    // The file names no valid account of its own: the user types it in the account field.
    bool needsAccount() const;
    void read();
    // Whether reading and previewing the file shows a progress window.
    bool large() const;
    void fillProfiles();
    void showEncoding();
    void newProfile();
    void editProfile();
    void deleteProfile();
    // Opens the profile window over this file; true when the profile was stored.
    bool runProfileWindow(const CsvProfile& start, const std::optional<QString>& replaces);
    void useProfile(const CsvProfile* profile);
    bool isUserProfile(const QString& name) const;
    void preview();
    void fillTable();
    void showBalance();
    void showCounts();

    sqlite3x::connection& m_database;
    CsvProfiles& m_profiles;
    QString m_path;
    std::string m_bytes;
    std::string m_sha256;
    TextEncoding m_encoding;
    StatementFile m_file;
    PreviewResult m_preview;
    QString m_problem;
    bool m_balanceDisagrees = false;
    bool m_csv = false;
    std::optional<CsvProfile> m_profile;

    QLabel* m_format = nullptr;
    QComboBox* m_codePage = nullptr;
    QLabel* m_accounts = nullptr;
    QLineEdit* m_accountInput = nullptr;
    QLabel* m_period = nullptr;
    QLabel* m_balance = nullptr;
    QCheckBox* m_ignoreBalance = nullptr;
    QLabel* m_importedBefore = nullptr;
    QTableView* m_table = nullptr;
    CImportPreviewModel* m_model = nullptr;
    QLabel* m_counts = nullptr;
    QComboBox* m_profileBox = nullptr;
    QPushButton* m_editProfile = nullptr;
    QPushButton* m_deleteProfile = nullptr;
};
