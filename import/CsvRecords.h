// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A CSV text cut into records: any separator, an optional quote character (doubled inside a
// quoted field), line ends CRLF, LF or CR, line ends inside quotes kept.

#include <QString>
#include <QStringList>

#include <vector>

struct CsvRecord {
    QStringList fields;
    int line = 0;  // the line it starts on, from 1

    // Only empty fields (after trimming).
    bool blank() const;
};

struct CsvRecords {
    std::vector<CsvRecord> records;
    int unclosedQuoteLine = 0;  // the line of a quoted field that never closes; 0 when none

    static CsvRecords Split(const QString& text, QChar separator, QChar quote);

    // One record at a time, so that a large file is never held as fields all at once.
    class Cursor {
    public:
        // The text must outlive the cursor.
        Cursor(const QString& text, QChar separator, QChar quote);
        // The next record; false at the end, or at a quoted field that never closes.
        bool next(CsvRecord& record);
        int unclosedQuoteLine() const { return m_unclosedQuoteLine; }

    private:
        bool quoted(QString& field);

        const QChar* m_text;
        qsizetype m_size;
        QChar m_separator, m_quote;
        qsizetype m_at = 0;
        int m_line = 1;
        int m_unclosedQuoteLine = 0;
    };
};
