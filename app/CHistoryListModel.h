#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <vector>

#include "HistoryList.h"

// The operation list's rows: the last filter pass of the history list, indexes into its entries,
// so that a filter pass over a million operations creates no item per row. Texts are formed
// only for the rows that the view asks for.
class CHistoryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kDate = 0, kCounterparty, kTitle, kAmount, kAccount, kColumnCount };
    // The entry index of a row, as the list item's data.
    static constexpr int kEntryIndexRole = Qt::UserRole;

    explicit CHistoryListModel(const HistoryList& list, QObject* parent = nullptr);

    // Runs a change of the list (new entries or a new pass) as one reset of the view.
    void reset(const std::function<void()>& change);
    const std::vector<int32_t>& rows() const { return m_list.result().rows; }
    // Index into the entries of a row, or -1 for a row that is not there.
    int32_t entryIndex(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Column texts of one entry.
    QString columnText(size_t entry, int column) const;
    // "%d-%m-%Y" of the local date.
    static QString formatDate(int64_t time);
    // Built-in column widths in pixels.
    static int defaultWidth(int column);

private:
    const HistoryList& m_list;
};
