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
    Cursor cursor(text, separator, quote);
    CsvRecord record;
    while (cursor.next(record)) {
        out.records.push_back(std::move(record));
    }
    out.unclosedQuoteLine = cursor.unclosedQuoteLine();
    return out;
}

CsvRecords::Cursor::Cursor(const QString& text, QChar separator, QChar quote)
    : m_text(text.constData()), m_size(text.size()), m_separator(separator), m_quote(quote) {}

// The quoted part of a field, the cursor on its opening quote; false when it never closes.
bool CsvRecords::Cursor::quoted(QString& field) {
    const int opened = m_line;
    ++m_at;
    while (m_at < m_size) {
        qsizetype j = m_at;
        while (j < m_size && m_text[j] != m_quote) {
            m_line += m_text[j] == u'\n' ? 1 : 0;
            ++j;
        }
        field.append(m_text + m_at, j - m_at);
        if (j + 1 < m_size && m_text[j + 1] == m_quote) {
            field += m_quote;
            m_at = j + 2;
            continue;
        }
        m_at = j + 1;
        if (j < m_size) {
            return true;
        }
        break;
    }
    m_unclosedQuoteLine = opened;
    return false;
}

bool CsvRecords::Cursor::next(CsvRecord& record) {
    if (m_at >= m_size || m_unclosedQuoteLine > 0) {
        return false;
    }
    record.fields.clear();
    record.line = m_line;
    for (;;) {
        QString field;
        if (!m_quote.isNull() && m_at < m_size && m_text[m_at] == m_quote && !quoted(field)) {
            return false;
        }
        // Unquoted text, or what follows a closing quote, up to the separator: as it stands.
        qsizetype j = m_at;
        while (j < m_size && m_text[j] != m_separator && !endOfLine(m_text[j])) {
            ++j;
        }
        field.append(m_text + m_at, j - m_at);
        record.fields.push_back(std::move(field));
        m_at = j;
        if (m_at < m_size && m_text[m_at] == m_separator) {
            ++m_at;
            continue;
        }
        if (m_at + 1 < m_size && m_text[m_at] == u'\r' && m_text[m_at + 1] == u'\n') {
            ++m_at;
        }
        ++m_at;
        ++m_line;
        return true;
    }
}
