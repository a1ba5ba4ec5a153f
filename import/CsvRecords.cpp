// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvRecords.h"

namespace {

bool endOfLine(QChar c) {
    return c == u'\n' || c == u'\r';
}

}  // namespace

bool CsvRecord::blank() const {
    for (const QString& field : fields) {
        if (!field.trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

CsvRecords CsvRecords::Split(const QString& text, QChar separator, QChar quote) {
    CsvRecords out;
    const QChar* d = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    while (i < n) {
        CsvRecord record;
        record.line = line;
        for (;;) {
            QString field;
            if (!quote.isNull() && i < n && d[i] == quote) {
                const int opened = line;
                bool closed = false;
                ++i;
                while (i < n) {
                    qsizetype j = i;
                    while (j < n && d[j] != quote) {
                        line += d[j] == u'\n' ? 1 : 0;
                        ++j;
                    }
                    field.append(d + i, j - i);
                    if (j + 1 < n && d[j + 1] == quote) {
                        field += quote;
                        i = j + 2;
                        continue;
                    }
                    i = j + 1;
                    closed = j < n;
                    break;
                }
                if (!closed) {
                    out.unclosedQuoteLine = opened;
                    return out;
                }
            }
            // Unquoted text, or what follows a closing quote, up to the separator: as it stands.
            qsizetype j = i;
            while (j < n && d[j] != separator && !endOfLine(d[j])) {
                ++j;
            }
            field.append(d + i, j - i);
            record.fields.push_back(std::move(field));
            i = j;
            if (i < n && d[i] == separator) {
                ++i;
                continue;
            }
            if (i < n && d[i] == u'\r' && i + 1 < n && d[i + 1] == u'\n') {
                ++i;
            }
            ++i;
            ++line;
            break;
        }
        out.records.push_back(std::move(record));
    }
    return out;
}
