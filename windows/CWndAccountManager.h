// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CUIWin7Dialog.h"

#include <functional>
#include <vector>

struct StoredLogOn;
class BankComboSink;
class CPluginLoader;
class QComboBox;
class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace sqlite3x {
class connection;
}

// Edits a copy of the table `accounts` in a list; OK rewrites the table from the list, Cancel
// leaves it as it was. Where passwords go to the keyring, OK stores the new ones there first
// and the table holds references; a reference no row uses any more loses its keyring item. Run
// modally:
//   CWndAccountManager dlg(con, &loader, mainWindow);
//   dlg.exec();   // then reload the account filter and the operation list, whatever the result
class CWndAccountManager : public CUIWin7Dialog {
    Q_OBJECT
public:
    // Fills the bank combo box ("Autodetekcja" with data 0, then one item per module).
    using BankFiller = std::function<void(BankComboSink&)>;

    // loader may be null: the combo box then offers "Autodetekcja" only.
    CWndAccountManager(sqlite3x::connection& con, CPluginLoader* loader, QWidget* parent = nullptr);
    CWndAccountManager(sqlite3x::connection& con, BankFiller fillBanks, QWidget* parent = nullptr);

    enum Column { Name, Number, User, Password, AutoGet, Type, ColumnCount };

private:
    struct Entry {
        QString number;
        QString user;
        QString password;
        QString name;
        int type = 0;
    };

    void buildList();
    void loadAccounts();
    void fillBanks(const BankFiller& fill);
    void rowClicked();
    int selectedRow() const;
    bool readValidEntry(Entry& entry);
    void writeRow(int row, const Entry& entry);
    void passwordEdited(const QString& text);
    void add();
    void edit();
    void remove();
    void save();
    void writeTable(const std::vector<StoredLogOn>& logOns);

    sqlite3x::connection& m_con;
    QTableView* m_list = nullptr;
    QStandardItemModel* m_model = nullptr;
    QLineEdit* m_number = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_bank = nullptr;
    // The keyring reference of the row last clicked, while its password is not retyped.
    QString m_keptReference;
};
