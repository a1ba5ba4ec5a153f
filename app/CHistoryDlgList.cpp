// The operation list: reading the entries from the database and filtering them.
#include <QComboBox>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "CHistoryDlg.h"
#include "CHistoryListModel.h"
#include "CSatGraph.h"
#include "CUIInfoLabel.h"
#include "Clock.h"
#include "MessageBox.h"

namespace {

QString toQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// Operations repeat their counterparties and accounts; entries share one copy of each text.
class TextPool {
public:
    QString intern(std::u16string&& text) {
        const auto found = m_texts.find(text);
        if (found != m_texts.end()) {
            return found->second;
        }
        QString value = toQString(text);
        m_texts.emplace(std::move(text), value);
        return value;
    }

private:
    std::unordered_map<std::u16string, QString> m_texts;
};

// SQLite sorts the whole rows of the full list through temporary files, which takes several
// times longer than reading them. The full list is therefore read unsorted and put in the
// same order (booking date, then bank number, both descending) in memory; rows that tie on
// both keep the table's order.
constexpr const char* kSelectHistoryUnsorted = "SELECT * FROM transactions";

void sortLikeHistoryQuery(std::vector<HistoryEntry>& entries) {
    struct Key {
        int64_t date;
        int32_t tid;
        uint32_t index;
    };
    std::vector<Key> keys;
    keys.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        keys.push_back({entries[i].bookingDate, entries[i].tid, static_cast<uint32_t>(i)});
    }
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        if (a.date != b.date) {
            return a.date > b.date;
        }
        if (a.tid != b.tid) {
            return a.tid > b.tid;
        }
        return a.index < b.index;
    });
    // order[i]: where the entry for place i comes from. Applied in place, cycle by cycle,
    // so that no second copy of the entries is needed.
    std::vector<uint32_t> order(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        order[i] = keys[i].index;
    }
    keys.clear();
    keys.shrink_to_fit();
    for (size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start) {
            continue;
        }
        HistoryEntry held = std::move(entries[start]);
        size_t place = start;
        while (order[place] != start) {
            const size_t from = order[place];
            entries[place] = std::move(entries[from]);
            order[place] = static_cast<uint32_t>(place);
            place = from;
        }
        entries[place] = std::move(held);
        order[place] = static_cast<uint32_t>(place);
    }
}

// The columns of a `SELECT *` are addressed by name; the names are resolved once per query.
class ColumnIndexes {
public:
    explicit ColumnIndexes(sqlite3x::reader& reader) {
        for (int i = 0; i < reader.column_count(); ++i) {
            m_names.insert(toQString(reader.column_name(i)), i);
        }
    }
    int operator()(const char16_t* name) const {
        const auto found = m_names.constFind(QString::fromUtf16(name));
        if (found == m_names.constEnd()) {
            throw sqlite3x::database_error("no such column");
        }
        return *found;
    }

private:
    QHash<QString, int> m_names;
};

}  // namespace

void CHistoryDlg::createColumns() {
    m_model = new CHistoryListModel(m_entries, this);
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
    try {
        readEntries(query);
    } catch (const std::exception& error) {
        // A half-read list would show wrong totals: show none and say why.
        m_entries.clear();
        m_index.clear();
        const QString text = QStringLiteral("Błąd odczytu bazy danych: %1")
                                 .arg(QString::fromLocal8Bit(error.what()));
        ConsoleLine(QStringLiteral("\t") + text);
        MessageBox::show(this, text, windowTitle(), MessageBox::Buttons::Ok,
                         MessageBox::Icon::Error);
    }
    ApplyFilters();
}

void CHistoryDlg::readEntries(const char* query) {
    TextPool pool;
    QHash<QString, std::pair<QString, QString>> accounts;  // number -> (number, name)
    {
        sqlite3x::command cmd(m_con, Schema::kSelectAccountNames);
        sqlite3x::reader reader = cmd.execute_reader();
        while (reader.read()) {
            const QString number = pool.intern(reader.get_string(0));
            accounts.insert(number, {number, pool.intern(reader.get_string(1))});
        }
    }
    // The rows in the view point into the entries: empty the view before the entries.
    if (m_model != nullptr) {
        m_model->setRows({});
    }
    m_entries.clear();
    m_index.clear();

    const bool fullList = std::strcmp(query, Schema::kSelectHistory) == 0;
    sqlite3x::command cmd(m_con, fullList ? kSelectHistoryUnsorted : query);
    sqlite3x::reader reader = cmd.execute_reader();
    const ColumnIndexes column(reader);
    const int id = column(u"t_id"), fromAcc = column(u"t_from_acc"),
              fromName = column(u"t_from_name"), desc = column(u"t_desc"),
              amount = column(u"t_amount"), toAcc = column(u"t_to_acc"), tid = column(u"t_tid"),
              tio = column(u"t_tio"), date1 = column(u"t_date1"), date2 = column(u"t_date2"),
              kind = column(u"t_class");
    while (reader.read()) {
        HistoryEntry& entry = m_entries.emplace_back();
        entry.id = reader.get_int(id);
        entry.counterpartyAccount = pool.intern(reader.get_string(fromAcc));
        entry.counterpartyName = pool.intern(reader.get_string(fromName));
        entry.title = toQString(reader.get_string(desc));
        entry.amount = reader.get_double(amount);
        entry.ownAccount = pool.intern(reader.get_string(toAcc));
        entry.tid = reader.get_int(tid);
        entry.direction = reader.get_int(tio);
        entry.operationDate = reader.get_int64(date1);
        entry.bookingDate = reader.get_int64(date2);
        entry.kind = reader.get_int(kind);
        const auto account = accounts.constFind(entry.ownAccount);
        if (account != accounts.constEnd()) {
            entry.ownAccountName = account->second;
        }
    }
    reader.close();
    if (fullList) {
        sortLikeHistoryQuery(m_entries);
    }
    m_index.build(m_entries);
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
    showFilterResult(HistoryFilter::Run(m_entries, m_index, filterValues(), Clock::now()));
}

void CHistoryDlg::showFilterResult(FilterResult result) {
    m_list->setUpdatesEnabled(false);
    m_model->setRows(std::move(result.rows));
    result.rows.clear();
    // A list filled anew starts at its top, where the newest rows are.
    m_list->scrollToTop();
    m_list->setUpdatesEnabled(true);

    m_graph->Clear();
    for (const GraphPoint& point : HistoryFilter::GraphPoints(result.months)) {
        m_graph->AddPoint(static_cast<float>(point.income), static_cast<float>(point.outgo),
                          point.label);
    }
    m_graph->SetTitle(HistoryFilter::GraphCaption(result));
    m_graph->update();
    m_status->SetInfoText(HistoryFilter::TotalsLine(result));
    m_lastResult = std::move(result);
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
