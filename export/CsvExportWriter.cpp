// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvExportWriter.h"

#include "ExportLineEnd.h"
#include "OfxExportWriter.h"
#include "OperationKinds.h"
#include "XmlExportWriter.h"

#include <algorithm>
#include <ctime>

namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

const char16_t* const kColumns[] = {u"Identyfikator",
                                    u"Numer rachunku",
                                    u"Nazwa rachunku",
                                    u"Data operacji",
                                    u"Data księgowania",
                                    u"Kontrahent",
                                    u"Rachunek kontrahenta",
                                    u"Tytuł",
                                    u"Kwota",
                                    u"Rodzaj",
                                    u"Kierunek"};

std::u16string ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::vector<std::u16string> fields(const StoredOperation& op) {
    return {OfxExportWriter::FitId(op),
            op.ownAccount,
            op.ownAccountName,
            ascii(CsvExportWriter::FormatDate(op.operationDate)),
            ascii(CsvExportWriter::FormatDate(op.bookingDate)),
            op.counterpartyName,
            op.counterpartyAccount,
            op.title,
            ascii(CsvExportWriter::FormatAmount(op.amount)),
            OperationKinds::Label(op.kind),
            op.direction == 1 ? u"Uznanie" : u"Obciążenie"};
}

void record(std::string& out, const std::vector<std::u16string>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
        if (i != 0) {
            out += ';';
        }
        out += CsvExportWriter::Field(values[i]);
    }
    out += kExportLineEnd;
}

}  // namespace

std::string CsvExportWriter::Document(const std::vector<StoredOperation>& ops) {
    std::string out = kByteOrderMark;
    record(out, std::vector<std::u16string>(std::begin(kColumns), std::end(kColumns)));
    for (const StoredOperation& op : ops) {
        record(out, fields(op));
    }
    return out;
}

std::string CsvExportWriter::Field(const std::u16string& text) {
    const bool quoted = text.find_first_of(u";\"\r\n") != std::u16string::npos;
    if (!quoted) {
        return XmlExportWriter::ToUtf8(text);
    }
    std::u16string doubled;
    doubled.reserve(text.size() + 2);
    doubled += u'"';
    for (const char16_t c : text) {
        doubled += c;
        if (c == u'"') {
            doubled += u'"';
        }
    }
    doubled += u'"';
    return XmlExportWriter::ToUtf8(doubled);
}

std::string CsvExportWriter::FormatDate(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return {};
    }
    char buffer[64];
    return std::string(buffer, std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &local));
}

std::string CsvExportWriter::FormatAmount(double amount) {
    std::string text = OfxExportWriter::FormatAmount(amount);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}
