#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "AppTestSupport.h"
#include "CHistoryListModel.h"

namespace {

std::vector<StoredOperation> sampleEntries() {
    std::vector<StoredOperation> entries(3);
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].counterpartyName = QStringLiteral("Kontrahent %1").arg(i).toStdU16String();
        entries[i].title = QStringLiteral("Tytuł %1").arg(i).toStdU16String();
        entries[i].ownAccountName = u"Konto";
        entries[i].amount = -12.5 * static_cast<double>(i + 1);
        entries[i].bookingDate = LocalTime(2011, 12, 6 + static_cast<int>(i));
    }
    return entries;
}

FilterResult listing(std::vector<int32_t> rows) {
    FilterResult result;
    result.rows = std::move(rows);
    return result;
}

TEST(CHistoryListModelTest, PassesModelTesterThroughResets) {
    EnsureApplication();
    HistoryList list;
    list.assign(HistoryEntries(sampleEntries()));
    CHistoryListModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (const std::vector<int32_t>& rows : {std::vector<int32_t>{2, 0}, {}, {0, 1, 2}}) {
        model.reset([&] { list.show(listing(rows), {}, 0); });
    }
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 5);
}

TEST(CHistoryListModelTest, ShowsColumnsOfTheListedEntries) {
    EnsureApplication();
    HistoryList list;
    list.assign(HistoryEntries(sampleEntries()));
    CHistoryListModel model(list);
    model.reset([&] { list.show(listing({1, 0}), {}, 0); });
    const auto text = [&](int row, int column) {
        return model.data(model.index(row, column)).toString();
    };
    EXPECT_EQ(text(0, 0), "07-12-2011");
    EXPECT_EQ(text(0, 1), "Kontrahent 1");
    EXPECT_EQ(text(0, 2), "Tytuł 1");
    EXPECT_EQ(text(0, 3), "-25,00");
    EXPECT_EQ(text(0, 4), "Konto");
    EXPECT_EQ(text(1, 3), "-12,50");
    EXPECT_EQ(model.data(model.index(1, 0), CHistoryListModel::kEntryIndexRole).toInt(), 0);
    EXPECT_EQ(model.data(model.index(0, 3), Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              Qt::AlignRight);
    EXPECT_EQ(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft,
              Qt::AlignLeft);
    EXPECT_EQ(model.entryIndex(5), -1);

    const char* headers[] = {"Data Księgowania", "Kontrahent", "Tytułem", "Kwota", "Konto"};
    const int widths[] = {80, 150, 210, 65, 80};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(),
                  QString::fromUtf8(headers[column]));
        EXPECT_EQ(CHistoryListModel::defaultWidth(column), widths[column]);
    }
}

}  // namespace
