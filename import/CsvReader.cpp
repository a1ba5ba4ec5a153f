// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvReader.h"

#include "CsvRecords.h"
#include "CsvRowReader.h"
#include "CsvValues.h"
#include "ImportError.h"

#include <algorithm>
#include <map>

namespace {

constexpr size_t kHeadBytes = 64 * 1024;
constexpr int kHeaderSearchLines = 200;  // how far past skipStart the header may stand

// Header fields as compared: trimmed, without a byte-order mark, trailing empty ones dropped.
QStringList normalised(QStringList fields) {
    for (QString& field : fields) {
        field.remove(QChar(0xFEFF));
        field = field.trimmed();
    }
    while (!fields.isEmpty() && fields.back().isEmpty()) {
        fields.removeLast();
    }
    return fields;
}

QStringList headerFields(const CsvProfile& profile) {
    const CsvRecords split = CsvRecords::Split(profile.header, profile.separator, profile.quote);
    return split.records.empty() ? QStringList() : normalised(split.records.front().fields);
}

// The index of the header record, searched from the line after skipStart.
std::optional<size_t> headerIndex(const std::vector<CsvRecord>& records,
                                  const CsvProfile& profile) {
    const QStringList wanted = headerFields(profile);
    if (wanted.isEmpty()) {
        return std::nullopt;
    }
    for (size_t i = 0; i < records.size(); ++i) {
        const CsvRecord& record = records[i];
        if (record.line > profile.skipStart + kHeaderSearchLines) {
            break;
        }
        if (record.line > profile.skipStart &&
            normalised(record.fields)
                    .join(u'\n')
                    .compare(wanted.join(u'\n'), Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return std::nullopt;
}

// Two passes over the text, one record at a time: the first finds the header and counts the
// lines, the second reads the rows and keeps the few other lines for their labels.
class FileReader {
public:
    FileReader(const CsvProfile& profile, const QString& text) : m_profile(profile), m_text(text) {}

    [[noreturn]] void fail(int line, const QString& what) const {
        throw ImportError(QStringLiteral("Plik CSV (profil „%1”), wiersz %2: %3")
                              .arg(m_profile.name)
                              .arg(line)
                              .arg(what)
                              .toStdString());
    }

    std::vector<Statement> read();

private:
    struct Layout {
        size_t start = 0;         // the first record after the header or the lines skipped
        size_t footerFrom = 0;    // the first footer line, counted among non-blank records
        QStringList headerNames;  // as written, for messages
    };
    Layout survey() const;
    std::vector<CsvRow> rows(const Layout& layout);
    std::optional<QString> labelled(const QString& label) const;
    std::optional<int64_t> balance(const QString& label) const;
    bool isComment(const CsvRecord& record) const;
    Statement& statementOf(const QString& account);

    const CsvProfile& m_profile;
    const QString& m_text;
    std::vector<CsvRecord> m_notes;  // preamble, comment and footer lines
    std::vector<Statement> m_statements;
    std::map<QString, size_t> m_index;
};

FileReader::Layout FileReader::survey() const {
    CsvRecords::Cursor cursor(m_text, m_profile.separator, m_profile.quote);
    std::vector<CsvRecord> head;  // the lines the header may stand on
    size_t nonBlank = 0;
    for (CsvRecord record; cursor.next(record);) {
        nonBlank += record.blank() ? 0 : 1;
        if (record.line <= m_profile.skipStart + kHeaderSearchLines) {
            head.push_back(std::move(record));
        }
    }
    if (cursor.unclosedQuoteLine() > 0) {
        fail(cursor.unclosedQuoteLine(),
             QStringLiteral("pole w cudzysłowie nie jest zamknięte (plik niepełny?)."));
    }
    Layout layout;
    layout.footerFrom = nonBlank - std::min<size_t>(nonBlank, size_t(m_profile.skipEnd));
    if (m_profile.header.trimmed().isEmpty()) {
        while (layout.start < head.size() && head[layout.start].line <= m_profile.skipStart) {
            ++layout.start;
        }
        return layout;
    }
    const auto header = headerIndex(head, m_profile);
    if (!header) {
        throw ImportError(QStringLiteral("Plik nie pasuje do profilu CSV „%1”: nie ma w nim "
                                         "wiersza nagłówka „%2”.")
                              .arg(m_profile.name, m_profile.header.left(80))
                              .toStdString());
    }
    for (const QString& name : head[*header].fields) {
        layout.headerNames += name.trimmed();
    }
    layout.start = *header + 1;
    return layout;
}

bool FileReader::isComment(const CsvRecord& record) const {
    if (m_profile.commentPrefix.isEmpty()) {
        return false;
    }
    for (const QString& field : record.fields) {
        if (!field.trimmed().isEmpty()) {
            return field.trimmed().startsWith(m_profile.commentPrefix);
        }
    }
    return false;
}

// Rows are what is left after the header, the footer lines, blank and comment lines.
std::vector<CsvRow> FileReader::rows(const Layout& layout) {
    const CsvRowReader reader(m_profile, layout.headerNames,
                              [this](int line, const QString& what) { fail(line, what); });
    const bool header = !m_profile.header.trimmed().isEmpty();
    std::vector<CsvRow> rows;
    CsvRecords::Cursor cursor(m_text, m_profile.separator, m_profile.quote);
    size_t index = 0, nonBlank = 0;
    for (CsvRecord record; cursor.next(record); ++index) {
        const bool blank = record.blank();
        const bool footer = !blank && nonBlank++ >= layout.footerFrom;
        if (header && index + 1 == layout.start) {
            continue;
        }
        if (index < layout.start || footer || isComment(record)) {
            m_notes.push_back(std::move(record));
        } else if (!blank) {
            rows.push_back(reader.read(record));
        }
    }
    return rows;
}

// A value given beside its label ("#Saldo początkowe;1 234,56"), after it in the same field
// ("Numer rachunku: 12 …") or on the next line, preferably under it.
std::optional<QString> FileReader::labelled(const QString& label) const {
    if (label.trimmed().isEmpty()) {
        return std::nullopt;
    }
    auto clean = [this](const QString& field) {
        QString text = field.trimmed();
        if (!m_profile.commentPrefix.isEmpty() && text.startsWith(m_profile.commentPrefix)) {
            text.remove(0, m_profile.commentPrefix.size());
        }
        return text.trimmed();
    };
    for (size_t n = 0; n < m_notes.size(); ++n) {
        const QStringList& fields = m_notes[n].fields;
        for (qsizetype f = 0; f < fields.size(); ++f) {
            const QString text = clean(fields[f]);
            if (!text.startsWith(label.trimmed(), Qt::CaseInsensitive)) {
                continue;
            }
            QString rest = text.mid(label.trimmed().size()).trimmed();
            rest = rest.startsWith(u':') ? rest.mid(1).trimmed() : rest;
            // The next label ("#Saldo początkowe;#Saldo końcowe;") is no value.
            const QString& prefix = m_profile.commentPrefix;
            for (qsizetype next = f + 1; rest.isEmpty() && next < fields.size(); ++next) {
                if (prefix.isEmpty() || !fields[next].trimmed().startsWith(prefix)) {
                    rest = clean(fields[next]);
                }
            }
            if (rest.isEmpty() && n + 1 < m_notes.size() &&
                m_notes[n + 1].line == m_notes[n].line + 1) {
                // Under the label where the lines form columns, else the first value there.
                const QStringList& below = m_notes[n + 1].fields;
                rest = f < below.size() ? clean(below[f]) : QString();
                for (const QString& field : below) {
                    rest = rest.isEmpty() ? clean(field) : rest;
                }
            }
            if (!rest.isEmpty()) {
                return rest;
            }
        }
    }
    return std::nullopt;
}

std::optional<int64_t> FileReader::balance(const QString& label) const {
    const auto text = labelled(label);
    if (!text) {
        return std::nullopt;
    }
    const auto amount =
        CsvValues::ParseAmount(*text, m_profile.decimalSign, m_profile.thousandsSeparator);
    if (!amount) {
        throw ImportError(QStringLiteral("Plik CSV (profil „%1”): nieczytelne saldo „%2” (%3).")
                              .arg(m_profile.name, *text, label)
                              .toStdString());
    }
    return amount->grosze;
}

Statement& FileReader::statementOf(const QString& account) {
    auto it = m_index.find(account);
    if (it == m_index.end()) {
        it = m_index.emplace(account, m_statements.size()).first;
        m_statements.emplace_back();
        m_statements.back().account = account.toStdU16String();
    }
    return m_statements[it->second];
}

std::vector<Statement> FileReader::read() {
    std::vector<CsvRow> read = rows(survey());
    const auto preambleAccount = labelled(m_profile.ownAccountLabel);
    // Without an own-account column or line, the sender's or recipient's side names it when it
    // is one and the same valid number in every row.
    QString fileAccount =
        preambleAccount ? CsvRowReader::CleanAccount(*preambleAccount) : QString();
    if (fileAccount.isEmpty() && !read.empty() &&
        std::all_of(read.begin(), read.end(), [&read](const CsvRow& row) {
            return row.ownSideAccount.size() == 26 && row.ownSideAccount == read[0].ownSideAccount;
        })) {
        fileAccount = read[0].ownSideAccount;
    }
    if (read.empty() && !fileAccount.isEmpty()) {
        statementOf(fileAccount);
    }
    for (CsvRow& row : read) {
        Statement& statement = statementOf(row.ownAccount.isEmpty() ? fileAccount : row.ownAccount);
        if (statement.currency.empty()) {
            statement.currency = row.currency.toStdU16String();
        } else if (!row.currency.isEmpty() && row.currency.toStdU16String() != statement.currency) {
            fail(row.line, QStringLiteral("operacja w walucie %1, a wcześniejsze operacje "
                                          "tego rachunku są w %2.")
                               .arg(row.currency, QString::fromStdU16String(statement.currency)));
        }
        statement.operations.push_back(std::move(row.operation));
    }
    if (m_statements.size() == 1) {
        m_statements[0].openingBalance = balance(m_profile.openingBalanceLabel);
        m_statements[0].closingBalance = balance(m_profile.closingBalanceLabel);
    }
    for (Statement& statement : m_statements) {
        auto& ops = statement.operations;
        // Banks list the newest first; the file order numbers imported operations.
        if (!ops.empty() && ops.front().bookingDate > ops.back().bookingDate) {
            std::reverse(ops.begin(), ops.end());
        }
        for (const StatementOperation& op : ops) {
            statement.periodFrom =
                std::min(statement.periodFrom.value_or(op.bookingDate), op.bookingDate);
            statement.periodTo =
                std::max(statement.periodTo.value_or(op.bookingDate), op.bookingDate);
        }
    }
    return std::move(m_statements);
}

}  // namespace

namespace CsvReader {

TextEncoding EncodingOf(const std::string& bytes, const CsvProfile& profile) {
    const bool beyondAscii =
        std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0 || (beyondAscii && TextDecoding::IsUtf8(bytes))) {
        return TextEncoding::Utf8;
    }
    if (const auto named = TextDecoding::FromName(profile.encoding)) {
        return *named;
    }
    return TextDecoding::Detect(bytes);
}

StatementFile Read(const std::string& bytes, const CsvProfile& profile,
                   std::optional<TextEncoding> encoding) {
    if (const auto why = profile.problem()) {
        throw ImportError(
            QStringLiteral("Profil CSV „%1”: %2").arg(profile.name, *why).toStdString());
    }
    const QString text = TextDecoding::Decode(bytes, encoding.value_or(EncodingOf(bytes, profile)));
    FileReader reader(profile, text);
    StatementFile file;
    file.format = StatementFormat::BankCsv;
    file.statements = reader.read();
    return file;
}

bool HasHeader(const std::string& bytes, const CsvProfile& profile) {
    if (profile.header.trimmed().isEmpty()) {
        return false;
    }
    std::string head = bytes.substr(0, kHeadBytes);
    if (head.size() < bytes.size()) {
        head.erase(head.rfind('\n') == std::string::npos ? 0 : head.rfind('\n'));
    }
    const QString text = TextDecoding::Decode(head, EncodingOf(head, profile));
    const CsvRecords split = CsvRecords::Split(text, profile.separator, profile.quote);
    return headerIndex(split.records, profile).has_value();
}

std::optional<QChar> GuessSeparator(const std::string& bytes) {
    constexpr int kLinesLooked = 50;
    std::string head = bytes.substr(0, kHeadBytes);
    if (head.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    const QString text = TextDecoding::DecodeDetected(head);
    std::optional<QChar> best;
    int bestLines = 1;
    for (const QChar separator : {QChar(u';'), QChar(u'\t'), QChar(u','), QChar(u'|')}) {
        CsvRecords::Cursor cursor(text, separator, u'"');
        std::map<qsizetype, int> linesByWidth;
        CsvRecord record;
        for (int seen = 0; seen < kLinesLooked && cursor.next(record);) {
            if (!record.blank()) {
                ++seen;
                ++linesByWidth[record.fields.size()];
            }
        }
        for (const auto& [width, lines] : linesByWidth) {
            if (width >= 3 && lines > bestLines) {
                best = separator;
                bestLines = lines;
            }
        }
    }
    return best;
}

}  // namespace CsvReader
