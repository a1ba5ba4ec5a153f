// SPDX-License-Identifier: GPL-3.0-or-later
#include "CImportPreviewModel.h"

#include "HistoryFilter.h"

#include <QDateTime>

namespace {

constexpr int kColumns = CImportPreviewModel::kState + 1;

}  // namespace

QString CImportPreviewModel::DayText(int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("dd-MM-yyyy"));
}

QString CImportPreviewModel::AmountText(int64_t grosze) {
    return HistoryFilter::FormatAmount(double(grosze) / 100.0);
}

CImportPreviewModel::CImportPreviewModel(QObject* parent) : QAbstractTableModel(parent) {}

void CImportPreviewModel::reset(std::vector<const StatementOperation*> operations,
                                std::vector<OperationState> states) {
    beginResetModel();
    states.resize(std::min(states.size(), operations.size()));
    operations.resize(states.size());
    m_operations = std::move(operations);
    m_states = std::move(states);
    m_ticked.assign(m_operations.size(), false);
    m_tickedCount = 0;
    for (size_t row = 0; row < m_operations.size(); ++row) {
        if (tickable(row) && m_states[row] == OperationState::New) {
            m_ticked[row] = true;
            ++m_tickedCount;
        }
    }
    endResetModel();
    emit ticksChanged();
}

std::vector<size_t> CImportPreviewModel::ticked() const {
    std::vector<size_t> rows;
    rows.reserve(size_t(m_tickedCount));
    for (size_t row = 0; row < m_ticked.size(); ++row) {
        if (m_ticked[row]) {
            rows.push_back(row);
        }
    }
    return rows;
}

bool CImportPreviewModel::tickable(size_t row) const {
    return m_operations[row]->booked && m_states[row] != OperationState::Known;
}

int CImportPreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_operations.size());
}

int CImportPreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QString CImportPreviewModel::text(size_t row, int column) const {
    const StatementOperation& op = *m_operations[row];
    switch (column) {
        case kOperationDate:
            return DayText(op.operationDate);
        case kBookingDate:
            return DayText(op.bookingDate);
        case kCounterparty:
            return QString::fromStdU16String(op.counterpartyName);
        case kTitle:
            return QString::fromStdU16String(op.title);
        case kAmount:
            return AmountText(op.amount);
        case kState:
            return QString::fromStdU16String(ImportPreview::StateName(m_states[row]));
        default:
            return {};
    }
}

QVariant CImportPreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= m_operations.size()) {
        return {};
    }
    const auto row = size_t(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return text(row, index.column());
        case Qt::CheckStateRole:
            if (index.column() == kTick && tickable(row)) {
                return m_ticked[row] ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() == kAmount) {
                return int(Qt::AlignRight | Qt::AlignVCenter);
            }
            return {};
        default:
            return {};
    }
}

QVariant CImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const char16_t* const kTitles[kColumns] = {
        u"", u"Data operacji", u"Data księgowania", u"Kontrahent", u"Tytuł", u"Kwota", u"Stan"};
    return section >= 0 && section < kColumns ? QString::fromUtf16(kTitles[section]) : QVariant();
}

Qt::ItemFlags CImportPreviewModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (index.isValid() && index.column() == kTick && tickable(size_t(index.row()))) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

bool CImportPreviewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !(flags(index) & Qt::ItemIsUserCheckable)) {
        return false;
    }
    const auto row = size_t(index.row());
    const bool on = value.toInt() == Qt::Checked;
    if (m_ticked[row] != on) {
        m_ticked[row] = on;
        m_tickedCount += on ? 1 : -1;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        emit ticksChanged();
    }
    return true;
}
