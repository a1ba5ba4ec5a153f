// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndAccountManager.h"

#include "BackgroundCall.h"
#include "CPluginLoader.h"
#include "CWndAccountCheck.h"
#include "CWndBankComboSink.h"
#include "CWndDigitsOnly.h"
#include "DialogTemplate.h"
#include "KeyringReference.h"
#include "KeyringTransfer.h"
#include "MessageBox.h"
#include "PasswordKeyring.h"
#include "PasswordPlace.h"
#include "Schema.h"
#include "SecureDelete.h"
#include "sqlite3x.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <optional>

namespace {

constexpr int kList = 1014;
constexpr int kNumber = 1015;
constexpr int kUser = 1016;
constexpr int kPassword = 1017;
constexpr int kName = 1018;
constexpr int kBank = 1032;
constexpr int kAdd = 1019;
constexpr int kEdit = 1020;
constexpr int kDelete = 1021;
constexpr int kPasswordNote = 1022;

const ControlSpec kTemplate[] = {
    {kList, ControlKind::ListView, {}, {11, 54, 226, 68}},
    {-1, ControlKind::LabelRight, QStringLiteral("Numer rach.:"), {25, 129, 44, 8}},
    {kNumber, ControlKind::Edit, {}, {74, 129, 162, 13}},
    {-1, ControlKind::LabelRight, QStringLiteral("Użytkownik:"), {28, 146, 41, 8}},
    {kUser, ControlKind::Edit, {}, {74, 146, 162, 12}},
    {-1, ControlKind::LabelRight, QStringLiteral("Hasło:"), {47, 163, 22, 8}},
    {kPassword, ControlKind::PasswordEdit, {}, {74, 163, 162, 12}},
    {-1, ControlKind::LabelRight, QStringLiteral("Nazwa własna:"), {19, 181, 50, 8}},
    {kName, ControlKind::Edit, {}, {74, 181, 162, 12}},
    {-1, ControlKind::LabelRight, QStringLiteral("Bank:"), {49, 198, 20, 8}},
    {kBank, ControlKind::DropDownList, {}, {74, 198, 162, 231}},
    {kAdd, ControlKind::PushButton, QStringLiteral("&Dodaj"), {74, 215, 50, 16}},
    {kPasswordNote, ControlKind::Label, {}, {74, 234, 162, 22}},
    {kEdit, ControlKind::PushButton, QStringLiteral("&Edytuj"), {130, 215, 50, 16}},
    {kDelete, ControlKind::PushButton, QStringLiteral("&Usuń"), {186, 215, 50, 16}},
    {1, ControlKind::DefPushButton, QStringLiteral("&OK"), {130, 260, 50, 15}},
    {2, ControlKind::PushButton, QStringLiteral("&Anuluj"), {186, 260, 50, 15}},
};

const QString kCaption = QStringLiteral("Konta");
// Stands masked in the password field for a password kept in the keyring.
const QString kKeptFiller = QStringLiteral("********");

QString passwordNote() {
    switch (PasswordPlace::reason()) {
        case PasswordPlace::Reason::Keyring:
            return {};
        case PasswordPlace::Reason::Declined:
            return QStringLiteral(
                "Hasła są przechowywane w folderze danych bez szyfrowania "
                "(wybrano to zamiast portfela systemowego).");
        case PasswordPlace::Reason::NoKeyring:
            break;
    }
    return QStringLiteral(
        "Hasła są przechowywane w folderze danych bez szyfrowania (brak "
        "portfela systemowego).");
}

QStringList storedReferences(sqlite3x::connection& con) {
    QStringList references;
    sqlite3x::command cmd(con, "SELECT a_pass FROM accounts");
    sqlite3x::reader rows = cmd.execute_reader();
    while (rows.read()) {
        const QString pass = QString::fromStdU16String(rows.get_string(0));
        if (KeyringReference::isReference(pass)) {
            references << pass;
        }
    }
    rows.close();
    return references;
}

CWndAccountManager::BankFiller fillerOf(CPluginLoader* loader) {
    return [loader](BankComboSink& sink) {
        if (loader != nullptr) {
            loader->FillBankCombo(sink);
        } else {
            sink.clear();
            sink.addItem(u"Autodetekcja", 0);
        }
    };
}

}  // namespace

CWndAccountManager::CWndAccountManager(sqlite3x::connection& con, CPluginLoader* loader,
                                       QWidget* parent)
    : CWndAccountManager(con, fillerOf(loader), parent) {}

CWndAccountManager::CWndAccountManager(sqlite3x::connection& con, BankFiller fill, QWidget* parent)
    : CUIWin7Dialog(parent), m_con(con) {
    SetHeader(QStringLiteral("Lista rachnków"),
              QStringLiteral("Dane kont z których będzie możnapobierać historię operacji"));
    setWindowTitle(kCaption);
    DialogTemplate tpl(this);
    tpl.setClientSize(241, 284);
    tpl.add(kTemplate);
    m_list = tpl.control<QTableView>(kList);
    m_number = tpl.control<QLineEdit>(kNumber);
    m_user = tpl.control<QLineEdit>(kUser);
    m_password = tpl.control<QLineEdit>(kPassword);
    m_name = tpl.control<QLineEdit>(kName);
    m_bank = tpl.control<QComboBox>(kBank);
    CWndDigitsOnly::install(m_number);
    tpl.control<QLabel>(kPasswordNote)->setText(passwordNote());

    buildList();
    loadAccounts();
    fillBanks(fill);

    connect(m_list, &QTableView::clicked, this, &CWndAccountManager::rowClicked);
    connect(m_password, &QLineEdit::textEdited, this, &CWndAccountManager::passwordEdited);
    connect(tpl.control<QPushButton>(kAdd), &QPushButton::clicked, this, &CWndAccountManager::add);
    connect(tpl.control<QPushButton>(kEdit), &QPushButton::clicked, this,
            &CWndAccountManager::edit);
    connect(tpl.control<QPushButton>(kDelete), &QPushButton::clicked, this,
            &CWndAccountManager::remove);
    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &CWndAccountManager::save);
    connect(tpl.control<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
}

void CWndAccountManager::buildList() {
    m_model = new QStandardItemModel(0, ColumnCount, this);
    m_model->setHorizontalHeaderLabels({QStringLiteral("Nazwa"), QStringLiteral("Rachunek"),
                                        QStringLiteral("Użytkownik"), QString(), QString(),
                                        QString()});
    m_list->setModel(m_model);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(false);
    QHeaderView* header = m_list->horizontalHeader();
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->setColumnWidth(Name, 90);
    m_list->setColumnWidth(Number, 190);
    m_list->setColumnWidth(User, 90);
    // Password, flag and type travel with the row without being shown.
    for (int column : {Password, AutoGet, Type}) {
        m_list->setColumnHidden(column, true);
    }
}

void CWndAccountManager::loadAccounts() {
    sqlite3x::command cmd(m_con, Schema::kSelectManagedAccounts);
    sqlite3x::reader rows = cmd.execute_reader();
    while (rows.read()) {
        QList<QStandardItem*> items;
        for (int column = 0; column < Type; ++column) {
            items << new QStandardItem(QString::fromStdU16String(rows.get_string(column)));
        }
        items << new QStandardItem(QString::number(rows.get_int(Type)));
        m_model->appendRow(items);
    }
    rows.close();
}

void CWndAccountManager::fillBanks(const BankFiller& fill) {
    CWndBankComboSink sink(m_bank);
    if (fill) {
        fill(sink);
    }
    if (m_bank->count() == 0) {
        sink.addItem(u"Autodetekcja", 0);
    }
    // Accounts filled only from statement files keep this "bank" when edited.
    sink.addItem(u"Import z pliku", Schema::kFileOnlyAccountType);
    m_bank->setCurrentIndex(0);
}

int CWndAccountManager::selectedRow() const {
    const QModelIndex current = m_list->selectionModel()->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isRowSelected(current.row())) {
        return -1;
    }
    return current.row();
}

void CWndAccountManager::rowClicked() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    const auto text = [&](int column) { return m_model->item(row, column)->text(); };
    m_name->setText(text(Name));
    m_number->setText(text(Number));
    m_user->setText(text(User));
    m_keptReference.clear();
    if (KeyringReference::isReference(text(Password))) {
        m_keptReference = text(Password);
        m_password->setText(kKeptFiller);
    } else {
        m_password->setText(text(Password));
    }
    // A file-only account (-1) keeps "Import z pliku"; an unknown type shows the first bank.
    const int item = m_bank->findData(text(Type).toInt());
    m_bank->setCurrentIndex(item >= 0 ? item : 0);
}

bool CWndAccountManager::readValidEntry(Entry& entry) {
    std::u16string number = m_number->text().toStdU16String();
    const auto verdict = CWndAccountCheck::Validate(number, m_name->text().toStdU16String());
    entry.number = QString::fromStdU16String(number);
    m_number->setText(entry.number);
    if (verdict != CWndAccountCheck::Verdict::Valid) {
        MessageBox::show(this, QString::fromStdU16String(CWndAccountCheck::Message(verdict)),
                         kCaption, MessageBox::Buttons::Ok, MessageBox::Icon::Warning);
        return false;
    }
    entry.user = m_user->text();
    entry.password = m_keptReference.isEmpty() ? m_password->text() : m_keptReference;
    entry.name = m_name->text();
    entry.type = m_bank->currentIndex() >= 0 ? m_bank->currentData().toInt() : 0;
    return true;
}

void CWndAccountManager::writeRow(int row, const Entry& entry) {
    m_model->item(row, Name)->setText(entry.name);
    m_model->item(row, Number)->setText(entry.number);
    m_model->item(row, User)->setText(entry.user);
    m_model->item(row, Password)->setText(entry.password);
    m_model->item(row, Type)->setText(QString::number(entry.type));
}

// The first keystroke in a kept password begins a new one: what was typed after the filler
// stays, the filler goes.
void CWndAccountManager::passwordEdited(const QString& text) {
    if (m_keptReference.isEmpty()) {
        return;
    }
    m_keptReference.clear();
    m_password->setText(text.startsWith(kKeptFiller) ? text.mid(kKeptFiller.size()) : QString());
}

void CWndAccountManager::add() {
    Entry entry;
    if (!readValidEntry(entry)) {
        return;
    }
    QList<QStandardItem*> items;
    for (int column = 0; column < ColumnCount; ++column) {
        items << new QStandardItem();
    }
    m_model->appendRow(items);
    writeRow(m_model->rowCount() - 1, entry);
}

void CWndAccountManager::edit() {
    const int row = selectedRow();
    Entry entry;
    if (!readValidEntry(entry) || row < 0) {
        return;
    }
    writeRow(row, entry);
}

void CWndAccountManager::remove() {
    const int row = selectedRow();
    if (row >= 0) {
        m_model->removeRow(row);
    }
}

void CWndAccountManager::save() {
    std::vector<StoredLogOn> logOns;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        logOns.push_back({m_model->item(row, User)->text(), m_model->item(row, Password)->text()});
    }
    PasswordKeyring* keyring = PasswordPlace::keyring();
    std::optional<KeyringTransfer> transfer;
    if (PasswordPlace::inKeyring()) {
        // The keyring first: a refusal leaves the table as it was.
        transfer.emplace(*keyring);
        QString error;
        if (!BackgroundCall::run([&] { return transfer->moveToKeyring(logOns, error); })) {
            MessageBox::show(this,
                             QStringLiteral("Portfel systemowy nie przyjął hasła (%1). Lista kont "
                                            "pozostała bez zmian.")
                                 .arg(error),
                             kCaption, MessageBox::Buttons::Ok, MessageBox::Icon::Error);
            return;
        }
    }
    QStringList before;
    try {
        before = storedReferences(m_con);
        writeTable(logOns);
    } catch (const sqlite3x::database_error& error) {
        if (transfer) {
            BackgroundCall::run([&] {
                transfer->undo();
                return true;
            });
        }
        MessageBox::show(this, QString::fromUtf8(error.what()), kCaption, MessageBox::Buttons::Ok,
                         MessageBox::Icon::Error);
        return;
    }
    if (keyring != nullptr) {
        BackgroundCall::run([&] {
            KeyringTransfer(*keyring).removeOrphans(before, logOns);
            return true;
        });
    }
    accept();
}

void CWndAccountManager::writeTable(const std::vector<StoredLogOn>& logOns) {
    // Plain passwords that leave the table are overwritten, not left in the file's free space.
    std::optional<SecureDelete> secure;
    if (PasswordPlace::inKeyring()) {
        secure.emplace(m_con);
    }
    // One transaction: a failure part-way can no longer leave the table emptied.
    sqlite3x::transaction work(m_con);
    sqlite3x::command(m_con, Schema::kDeleteAllAccounts).execute();
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const auto text = [&](int column) {
            return m_model->item(row, column)->text().toStdU16String();
        };
        try {
            sqlite3x::command insert(m_con, Schema::kInsertAccount);
            insert.bind_text(1, text(Number));
            insert.bind_text(2, text(User));
            insert.bind_text(3, text(Name));
            insert.bind_text(4, logOns[row].pass.toStdU16String());
            insert.bind_int(5, m_model->item(row, Type)->text().toInt());
            insert.execute();
        } catch (const sqlite3x::database_error&) {
            // A row that cannot be written is skipped; the others still are.
        }
    }
    work.commit();
}
