// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndImportUndo.h"

#include "DialogTemplate.h"
#include "ImportError.h"
#include "MessageBox.h"
#include "sqlite3x.h"

#include <QDateTime>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {

const ControlSpec kTemplate[] = {
    {1210, ControlKind::Label, QStringLiteral("Importy wyciągów, od najnowszego:"), {4, 4, 300, 8}},
    {CWndImportUndo::kList, ControlKind::ListView, {}, {4, 14, 392, 150}},
    {CWndImportUndo::kUndo,
     ControlKind::PushButton,
     QStringLiteral("&Cofnij import"),
     {4, 170, 60, 14}},
    {CWndImportUndo::kClose,
     ControlKind::DefPushButton,
     QStringLiteral("&Zamknij"),
     {346, 170, 50, 14}},
};

const QString kCaption = QStringLiteral("Cofnij import");

QString when(int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("dd-MM-yyyy HH:mm"));
}

QStandardItem* item(const QString& text) {
    auto* cell = new QStandardItem(text);
    cell->setEditable(false);
    return cell;
}

}  // namespace

CWndImportUndo::CWndImportUndo(sqlite3x::connection& database, QWidget* parent)
    : QDialog(parent), m_database(database) {
    setWindowTitle(QStringLiteral("Cofnij import ..."));
    DialogTemplate tpl(this);
    tpl.setClientSize(400, 188);
    tpl.add(kTemplate);
    m_list = tpl.control<QTableView>(kList);
    m_model = new QStandardItemModel(0, kSkipped + 1, this);
    m_model->setHorizontalHeaderLabels(
        {QStringLiteral("Plik"), QStringLiteral("Data importu"), QStringLiteral("Format"),
         QStringLiteral("Nowe"), QStringLiteral("Już zapisane"),
         QStringLiteral("Prawdopodobnie zapisane"), QStringLiteral("Pominięte")});
    m_list->setModel(m_model);
    m_list->horizontalHeader()->setStretchLastSection(true);
    connect(tpl.control<QPushButton>(kUndo), &QPushButton::clicked, this,
            &CWndImportUndo::undoSelected);
    connect(tpl.control<QPushButton>(kClose), &QPushButton::clicked, this, &QDialog::accept);
    reload();
}

void CWndImportUndo::reload() {
    m_model->removeRows(0, m_model->rowCount());
    try {
        m_batches = ImportUndo(m_database).batches();
    } catch (const sqlite3x::database_error& error) {
        m_batches.clear();
        MessageBox::show(this,
                         QStringLiteral("Nie można odczytać listy importów (%1).")
                             .arg(QString::fromUtf8(error.what())),
                         kCaption, MessageBox::Buttons::Ok, MessageBox::Icon::Error);
    }
    for (const ImportBatchInfo& batch : m_batches) {
        m_model->appendRow({item(QString::fromStdU16String(batch.file)), item(when(batch.time)),
                            item(QString::fromStdU16String(batch.format)),
                            item(QString::number(batch.stored)), item(QString::number(batch.known)),
                            item(QString::number(batch.probable)),
                            item(QString::number(batch.skipped))});
    }
    m_list->resizeColumnsToContents();
    if (!m_batches.empty()) {
        m_list->selectRow(0);
    }
}

void CWndImportUndo::undoSelected() {
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || size_t(current.row()) >= m_batches.size()) {
        MessageBox::show(this, QStringLiteral("Wybierz import z listy."), kCaption);
        return;
    }
    const ImportBatchInfo& batch = m_batches[size_t(current.row())];
    const QString question =
        QStringLiteral(
            "Cofnąć import pliku „%1” z %2?\n\nUsunięte zostaną operacje zapisane przez ten import "
            "(%3), o ile w międzyczasie nie zastąpiło ich pobieranie z banku.")
            .arg(QString::fromStdU16String(batch.file), when(batch.time))
            .arg(batch.stored);
    if (MessageBox::show(this, question, kCaption, MessageBox::Buttons::YesNo,
                         MessageBox::Icon::Question) != MessageBox::Answer::Yes) {
        return;
    }
    try {
        const int removed = ImportUndo(m_database).undo(batch.id);
        m_changed = true;
        MessageBox::show(this,
                         QStringLiteral("Import cofnięty; usunięte operacje: %1.").arg(removed),
                         kCaption, MessageBox::Buttons::Ok, MessageBox::Icon::Information);
    } catch (const ImportError& error) {
        MessageBox::show(this, QString::fromUtf8(error.what()), kCaption, MessageBox::Buttons::Ok,
                         MessageBox::Icon::Error);
    }
    reload();
}
