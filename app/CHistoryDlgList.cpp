// SPDX-License-Identifier: GPL-3.0-or-later
// The operation list: reading the entries from the database and filtering them.
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>
#include <cstring>

#include "CHistoryDlg.h"
#include "CHistoryListModel.h"
#include "CSatGraph.h"
#include "CUIInfoLabel.h"
#include "Clock.h"
#include "LargeBuffers.h"
#include "MessageBox.h"

namespace {

QString toQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

void CHistoryDlg::createColumns() {
    m_model = new CHistoryListModel(m_history, this);
    m_list->setModel(m_model);
    QHeaderView* header = m_list->horizontalHeader();
    header->setSectionsClickable(false);
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    // Rows keep one height, so a million of them cost the view nothing to lay out.
    QHeaderView* rows = m_list->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    for (int column = 0; column < CHistoryListModel::kColumnCount; ++column) {
        header->resizeSection(column, CHistoryListModel::defaultWidth(column));
    }
    restoreColumnWidths();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
}

void CHistoryDlg::ReloadHistory(const char* query) {
    ConsoleLine(QStringLiteral("Przełądowuję listę transakcji"));
    m_listReadFailed = false;
    try {
        readEntries(query);
    } catch (const std::exception& error) {
        m_listReadFailed = true;
        // A half-read list would show wrong totals: show none and say why.
        if (m_check.result() != 0) {
            return;  // a damaged file: start-up, or the check's verdict, says so and ends
        }
        const QString text = QStringLiteral("Błąd odczytu bazy danych: %1")
                                 .arg(QString::fromLocal8Bit(error.what()));
        ConsoleLine(QStringLiteral("\t") + text);
        MessageBox::show(this, text, windowTitle(), MessageBox::Buttons::Ok,
                         MessageBox::Icon::Error);
    }
    ApplyFilters();
}

void CHistoryDlg::readEntries(const char* query) {
    // The rows in the view point into the entries: empty the view before the entries.
    if (m_model != nullptr) {
        m_model->reset([this] { m_history.clear(); });
    }
    // The read-ahead serves the first reading only, whatever it had.
    const std::unique_ptr<HistoryPreload> preload = std::move(m_preload);
    const bool early = preload != nullptr && !preload->finished();
    if (early) {
        prepareWhileReading(static_cast<size_t>(std::max(preload->expectedRows(), 0)));
    }
    m_history.read(m_con, query, preload.get());
    if (early) {
        // The reading threads are done: the view's row heights may take the room kept ready.
        LargeBuffers::serveLargeBlocksFromHeap();
    }
}

void CHistoryDlg::prepareWhileReading(size_t rows) {
    // Styles, fonts and the icon load on the first drawing and the system window takes about as
    // long (some 10 ms each here): both move into the wait for the list.
    grab();
    winId();
    // The view's row heights, 8 bytes a row: some 20 ms of page faults for a million rows. The
    // filter's rows and the months take huge pages of their own.
    constexpr size_t kShowingBytesPerRow = 9;
    LargeBuffers::keepHeapReady(rows * kShowingBytesPerRow);
}

void CHistoryDlg::FillAccountCombo() {
    ConsoleLine(QStringLiteral("Ładuję informacje o kontach"));
    m_filling = true;
    m_accounts->clear();
    m_accounts->addItem(QStringLiteral("Wszystkie"));
    m_accounts->setCurrentIndex(0);
    try {
        sqlite3x::command cmd(m_con, Schema::kSelectAccountNames);
        sqlite3x::reader reader = cmd.execute_reader();
        while (reader.read()) {
            m_accounts->addItem(QStringLiteral("%1 - %2").arg(toQString(reader.get_string(0)),
                                                              toQString(reader.get_string(1))));
        }
    } catch (const std::exception& error) {
        ConsoleLine(QStringLiteral("\tBłąd odczytu bazy danych: %1")
                        .arg(QString::fromLocal8Bit(error.what())));
    }
    m_filling = false;
}

void CHistoryDlg::ApplyFilters() {
    if (m_model == nullptr) {
        return;
    }
    const FilterValues values = filterValues();
    const int64_t now = Clock::now();
    std::optional<FilterResult> result = m_history.filter(values, now);
    if (!result) {
        return;
    }
    showFilterResult(std::move(*result), values, now);
}

void CHistoryDlg::showFilterResult(FilterResult pass, const FilterValues& values, int64_t now) {
    m_list->setUpdatesEnabled(false);
    m_model->reset([&] { m_history.show(std::move(pass), values, now); });
    // A list filled anew starts at its top, where the newest rows are.
    m_list->scrollToTop();
    m_list->setUpdatesEnabled(true);

    const FilterResult& result = m_history.result();
    m_graph->Clear();
    for (const GraphPoint& point : HistoryFilter::GraphPoints(result.months)) {
        m_graph->AddPoint(static_cast<float>(point.income), static_cast<float>(point.outgo),
                          point.label);
    }
    m_graph->SetTitle(HistoryFilter::GraphCaption(result));
    m_graph->update();
    m_status->SetInfoText(HistoryFilter::TotalsLine(result));
}

const std::vector<int32_t>& CHistoryDlg::listedEntries() const {
    static const std::vector<int32_t> kNone;
    return m_model != nullptr ? m_model->rows() : kNone;
}

int32_t CHistoryDlg::selectedEntry() const {
    if (m_model == nullptr) {
        return -1;
    }
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isRowSelected(current.row(), {})) {
        return -1;
    }
    return m_model->entryIndex(current.row());
}
