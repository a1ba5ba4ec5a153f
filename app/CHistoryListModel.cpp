#include "CHistoryListModel.h"

#include <array>
#include <ctime>

#include "HistoryFilter.h"

namespace {

const std::array<const char16_t*, CHistoryListModel::kColumnCount> kHeaders = {
    u"Data Księgowania", u"Kontrahent", u"Tytułem", u"Kwota", u"Konto"};
constexpr std::array<int, CHistoryListModel::kColumnCount> kWidths = {80, 150, 210, 65, 80};

}  // namespace

CHistoryListModel::CHistoryListModel(const HistoryList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {}

void CHistoryListModel::reset(const std::function<void()>& change) {
    beginResetModel();
    change();
    endResetModel();
}

int32_t CHistoryListModel::entryIndex(int row) const {
    const std::vector<int32_t>& listed = rows();
    if (row < 0 || static_cast<size_t>(row) >= listed.size()) {
        return -1;
    }
    const int32_t entry = listed[static_cast<size_t>(row)];
    return static_cast<size_t>(entry) < m_list.entries().size() ? entry : -1;
}

int CHistoryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows().size());
}

int CHistoryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CHistoryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.parent().isValid() || index.column() >= kColumnCount) {
        return {};
    }
    const int32_t entry = entryIndex(index.row());
    if (entry < 0) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return columnText(static_cast<size_t>(entry), index.column());
        case Qt::TextAlignmentRole:
            return index.column() == kAmount ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                             : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
        case kEntryIndexRole:
            return entry;
        default:
            return {};
    }
}

QVariant CHistoryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        return QString::fromUtf16(kHeaders[static_cast<size_t>(section)]);
    }
    if (role == Qt::TextAlignmentRole) {
        return section == kAmount ? int(Qt::AlignRight | Qt::AlignVCenter)
                                  : int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QString CHistoryListModel::columnText(size_t entry, int column) const {
    const HistoryEntries& entries = m_list.entries();
    const HistoryEntries::Row row = entries.row(entry);
    switch (column) {
        case kDate:
            return formatDate(row.bookingDate);
        case kCounterparty:
            return entries.text(row.counterpartyName);
        case kTitle:
            return entries.title(entry);
        case kAmount:
            return HistoryFilter::FormatAmount(row.amount);
        case kAccount:
            return entries.text(row.ownAccountName);
        default:
            return {};
    }
}

QString CHistoryListModel::formatDate(int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return {};
    }
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%d-%m-%Y", &local);
    return QString::fromLatin1(buffer);
}

int CHistoryListModel::defaultWidth(int column) {
    return column >= 0 && column < kColumnCount ? kWidths[static_cast<size_t>(column)] : 0;
}
