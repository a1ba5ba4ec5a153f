// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImportPreview.h"

#include <QAbstractTableModel>

#include <vector>

// The operations of one statement file in the import window: dates, counterparty, title, amount
// and state, with a tick on each one that can be imported. A table over the file's own
// operations, so that a file of a million operations costs no object per cell.
class CImportPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kTick, kOperationDate, kBookingDate, kCounterparty, kTitle, kAmount, kState };

    explicit CImportPreviewModel(QObject* parent = nullptr);

    // How the import windows write an operation's day and amount (in grosze).
    static QString DayText(int64_t seconds);
    static QString AmountText(int64_t grosze);

    // The operations (owned by the caller, kept until the next reset) with one state each; the
    // new ones are ticked. Nothing empties the table.
    void reset(std::vector<const StatementOperation*> operations = {},
               std::vector<OperationState> states = {});
    // The ticked rows, in order: the numbering of ImportFile::chosen.
    std::vector<size_t> ticked() const;
    int tickedCount() const { return m_tickedCount; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void ticksChanged();

private:
    // A pending entry cannot be imported, nor one that is there already.
    bool tickable(size_t row) const;
    QString text(size_t row, int column) const;

    std::vector<const StatementOperation*> m_operations;
    std::vector<OperationState> m_states;
    std::vector<bool> m_ticked;
    int m_tickedCount = 0;
};
