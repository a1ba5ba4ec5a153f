// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CsvProfile.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStandardItemModel;
class QTableView;
class QTableWidget;

// Makes or changes a bank CSV profile over a file from that bank. Every choice shows at once in
// two previews: the file's first rows cut into columns, with the role of each column above it,
// and the operations read from the file's start with the profile as it stands.
//   CWndCsvProfile dlg(profile, bytes, [&](const CsvProfile& p) { return store(p); }, parent);
//   dlg.exec();
class CWndCsvProfile : public QDialog {
    Q_OBJECT
public:
    enum Id {
        kName = 1201,
        kSeparator = 1202,
        kQuote = 1203,
        kCodePage = 1204,
        kSkipStart = 1205,
        kSkipEnd = 1206,
        kHasHeader = 1207,
        kHeader = 1208,
        kDateFormat = 1209,
        kDecimalSign = 1210,
        kThousands = 1211,
        kPendingValues = 1212,
        kOwnAccountLabel = 1213,
        kOpeningLabel = 1214,
        kClosingLabel = 1215,
        kColumns = 1216,
        kResult = 1217,
        kOperations = 1218,
        kSave = 1,
        kCancel = 2,
    };
    // Stores the profile; a Polish sentence when it cannot, and the dialog then stays open.
    using Save = std::function<std::optional<QString>(const CsvProfile&)>;

    CWndCsvProfile(const CsvProfile& start, std::string sample, Save save,
                   QWidget* parent = nullptr);

    // The profile as the controls now say.
    CsvProfile profile() const;
    // The role list above a column of the file preview.
    QComboBox* roleBox(int column) const;
    int columnCount() const;

private:
    void fill(const CsvProfile& start);
    void connectChanges();
    void takeHeader();
    void refresh();
    void showColumns(const QString& text);
    void showOperations();
    void trySave();

    std::string m_sample;  // the file's start, cut at a line end
    bool m_cut = false;    // the file goes on past the sample
    Save m_save;
    CsvProfile m_base;  // what the controls do not show
    std::vector<CsvColumnRole> m_roles;
    bool m_filling = false;

    QLineEdit* m_name = nullptr;
    QComboBox* m_separator = nullptr;
    QComboBox* m_quote = nullptr;
    QComboBox* m_codePage = nullptr;
    QSpinBox* m_skipStart = nullptr;
    QSpinBox* m_skipEnd = nullptr;
    QCheckBox* m_hasHeader = nullptr;
    QLineEdit* m_header = nullptr;
    QComboBox* m_dateFormat = nullptr;
    QComboBox* m_decimalSign = nullptr;
    QComboBox* m_thousands = nullptr;
    QLineEdit* m_pendingValues = nullptr;
    QLineEdit* m_ownAccountLabel = nullptr;
    QLineEdit* m_openingLabel = nullptr;
    QLineEdit* m_closingLabel = nullptr;
    QTableWidget* m_columns = nullptr;
    QLabel* m_result = nullptr;
    QTableView* m_operations = nullptr;
    QStandardItemModel* m_operationModel = nullptr;
};
