// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QComboBox;
class QLineEdit;
class SettingsStore;

namespace sqlite3x {
class connection;
}

// Asks which account to download and how far back. Run modally:
//   CWndSelector dlg(con, settings, mainWindow);
//   if (dlg.exec() == QDialog::Accepted) { dlg.accountIndex(); dlg.accountNumber(); dlg.days(); }
class CWndSelector : public QDialog {
    Q_OBJECT
public:
    CWndSelector(sqlite3x::connection& con, SettingsStore& settings, QWidget* parent = nullptr);

    // 0 for "Wszystkie", otherwise the chosen account's position in the box (1 = first).
    int accountIndex() const { return m_accountIndex; }
    // The chosen account's a_number; empty for "Wszystkie".
    QString accountNumber() const { return m_accountNumber; }
    // The count converted to days (x 1, 7, 31 or 365 by the unit).
    int32_t days() const { return m_days; }

    // Days for a count and unit index (0 dni, 1 tygodni, 2 miesięcy, 3 lat); -1 when the
    // result does not fit the download's day field.
    static int64_t DaysFor(int64_t count, int unitIndex);

private:
    void fillAccounts(sqlite3x::connection& con);
    void confirm();

    SettingsStore& m_settings;
    QComboBox* m_accounts = nullptr;
    QLineEdit* m_count = nullptr;
    QComboBox* m_unit = nullptr;
    int m_accountIndex = 0;
    QString m_accountNumber;
    int32_t m_days = 0;
};
