// SPDX-License-Identifier: GPL-3.0-or-later
// The layers below ui/ as a program of their own: it links no widget, D-Bus or X library
// (check-headless.sh reads its dynamic section), and it runs what those layers are for:
// storing a downloaded operation, reading the list, filtering it, writing an export and telling
// that export's format as a statement file.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "CsvExportWriter.h"
#include "HistoryFilter.h"
#include "HistoryReader.h"
#include "HistorySearchIndex.h"
#include "OperationStore.h"
#include "Schema.h"
#include "StatementReader.h"
#include "sqlite3x.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATABASE\n", argv[0]);
        return 2;
    }
    std::filesystem::remove(argv[1]);
    sqlite3x::connection con;
    Schema::OpenDatabase(con, std::filesystem::path(argv[1]).u16string(),
                         [](const std::u16string&) {});
    OperationStore store(con, [](const std::u16string&) {});
    OperationRecord record{};
    record.size = sizeof record;
    record.operationDate = record.postingDate = 1700000000;
    record.tid = 1;
    record.amount = -12.5;
    record.counterpartyName = "Sklep";
    record.title = "Zakupy";
    store.store(u"61109010140000071219812874", record);

    HistoryEntries entries;
    HistoryReader::Read(con, Schema::kSelectHistory, entries);
    HistorySearchIndex index;
    index.build(entries);
    FilterValues values;
    values.search = QStringLiteral("zak");
    const FilterResult result = HistoryFilter::Run(entries, index, values, std::time(nullptr));
    const std::string csv = CsvExportWriter::Document({entries.at(0)});
    const bool ownCsv = StatementReader::DetectFormat(csv) == StatementFormat::OwnCsv;
    std::printf("%d listed, %zu bytes of CSV\n", result.listed, csv.size());
    return result.listed == 1 && ownCsv ? 0 : 1;
}
