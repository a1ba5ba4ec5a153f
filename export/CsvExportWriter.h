#pragma once
// CSV as a Polish spreadsheet opens it without an import dialog: UTF-8 with a byte-order mark,
// ";" between fields, decimal comma, ISO dates, RFC 4180 quoting, CR LF between records.

#include "StoredOperation.h"

#include <string>
#include <vector>

class CsvExportWriter {
public:
    // The header line and one record per operation, in the given order.
    static std::string Document(const std::vector<StoredOperation>& ops);

    // One field: quoted, with quotes doubled, when it holds ";", a quote or a line end.
    static std::string Field(const std::u16string& text);
    // Local calendar date "YYYY-MM-DD"; empty when the value is outside the calendar.
    static std::string FormatDate(int64_t seconds);
    // "-12,50": the OFX amount with a decimal comma.
    static std::string FormatAmount(double amount);
};
