// SPDX-License-Identifier: GPL-3.0-or-later
#include "Mt940Reader.h"

#include "HugePageAllocator.h"
#include "ImportError.h"
#include "KindCodes.h"
#include "StatementValues.h"

#include <QRegularExpression>

#include <array>

namespace {

constexpr char16_t kSeparators[] = {u'~', u'<', u'^', u'+', u'?'};

struct Field {
    QString tag;    // "20", "61", ...; "-" for the end of a statement
    QString value;  // continuation lines joined without a separator
    QString extra;  // the continuation lines of ":61:" (its supplementary details)
    int line = 0;
};

[[noreturn]] void failMt940(int line, const QString& what) {
    throw ImportError(
        QStringLiteral("Wiersz %1 pliku MT940: %2").arg(line).arg(what).toStdString());
}

// ":20:", ":28C:": the length of the field's tag at the start of the line, else 0.
qsizetype tagLengthOf(const QString& line) {
    auto digit = [&line](qsizetype i) {
        return i < line.size() && line[i] >= u'0' && line[i] <= u'9';
    };
    if (line.size() < 4 || line[0] != u':' || !digit(1) || !digit(2)) {
        return 0;
    }
    if (line[3] == u':') {
        return 4;
    }
    const bool letter = line[3] >= u'A' && line[3] <= u'Z';
    return letter && line.size() > 4 && line[4] == u':' ? 5 : 0;
}

bool isEndLine(const QString& line) {
    return line == u"-" || line.startsWith(u"-}");
}

int fullYear(int twoDigits) {
    return twoDigits < 70 ? 2000 + twoDigits : 1900 + twoDigits;
}

int64_t dayOf(int line, int year, int month, int day) {
    const auto noon = StatementValues::Noon(year, month, day);
    if (!noon) {
        failMt940(line, QStringLiteral("nie ma dnia %1-%2-%3.")
                            .arg(year)
                            .arg(month, 2, 10, QChar(u'0'))
                            .arg(day, 2, 10, QChar(u'0')));
    }
    return *noon;
}

int number(QStringView digits) {
    int value = 0;
    for (const QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// YYMMDD, six digits already checked.
int64_t shortDate(int line, QStringView yymmdd) {
    return dayOf(line, fullYear(number(yymmdd.left(2))), number(yymmdd.mid(2, 2)),
                 number(yymmdd.mid(4, 2)));
}

struct Balance {
    int64_t amount = 0;
    int64_t date = 0;
    QString currency;
};

Balance readBalance(const Field& field) {
    static const QRegularExpression form(
        QStringLiteral("^([CD])(\\d{6})([A-Z]{3})(\\d[\\d,.]*)\\s*$"));
    const QRegularExpressionMatch m = form.match(field.value);
    const auto amount = m.hasMatch() ? StatementValues::Grosze(m.captured(4)) : std::nullopt;
    if (!amount) {
        failMt940(field.line, QStringLiteral("nieczytelne saldo w polu :%1: („%2”).")
                                  .arg(field.tag, field.value.left(40)));
    }
    return {m.captured(1) == u"D" ? -*amount : *amount, shortDate(field.line, m.capturedView(2)),
            m.captured(3)};
}

// The parts of a ":61:" field: value date YYMMDD, entry date MMDD (optional), mark (RD, RC, D
// or C), funds code (one letter, optional), amount, type (N, S or F and three characters), and
// the references. Read by hand: a statement has many entries.
struct EntryParts {
    QStringView valueDate, entryDate, mark, amount, type, references;
};

std::optional<EntryParts> entryParts(QStringView text) {
    qsizetype at = 0;
    const auto digits = [&text](qsizetype from, qsizetype count) {
        if (from + count > text.size()) {
            return false;
        }
        for (qsizetype i = from; i < from + count; ++i) {
            if (text[i] < u'0' || text[i] > u'9') {
                return false;
            }
        }
        return true;
    };
    const auto upper = [&text](qsizetype i) {
        return i < text.size() && text[i] >= u'A' && text[i] <= u'Z';
    };
    if (!digits(0, 6)) {
        return std::nullopt;
    }
    EntryParts parts;
    parts.valueDate = text.mid(0, 6);
    at = 6;
    if (digits(at, 4)) {
        parts.entryDate = text.mid(at, 4);
        at += 4;
    }
    const qsizetype markLength =
        (at + 1 < text.size() && text[at] == u'R' && (text[at + 1] == u'D' || text[at + 1] == u'C'))
            ? 2
        : (at < text.size() && (text[at] == u'D' || text[at] == u'C')) ? 1
                                                                       : 0;
    if (markLength == 0) {
        return std::nullopt;
    }
    parts.mark = text.mid(at, markLength);
    at += markLength;
    at += upper(at) ? 1 : 0;  // the funds code
    if (!digits(at, 1)) {
        return std::nullopt;
    }
    qsizetype end = at + 1;
    while (end < text.size() && (digits(end, 1) || text[end] == u',' || text[end] == u'.')) {
        ++end;
    }
    parts.amount = text.mid(at, end - at);
    at = end;
    if (at + 4 > text.size() || (text[at] != u'N' && text[at] != u'S' && text[at] != u'F')) {
        return std::nullopt;
    }
    for (qsizetype i = at + 1; i < at + 4; ++i) {
        if (!upper(i) && !digits(i, 1)) {
            return std::nullopt;
        }
    }
    parts.type = text.mid(at + 1, 3);
    parts.references = text.mid(at + 4);
    return parts;
}

StatementOperation readEntry(const Field& field) {
    const std::optional<EntryParts> parts = entryParts(QStringView(field.value).trimmed());
    const auto amount =
        parts ? StatementValues::Grosze(parts->amount.toString()) : std::optional<int64_t>();
    if (!amount) {
        failMt940(
            field.line,
            QStringLiteral("nieczytelna operacja w polu :61: („%1”).").arg(field.value.left(40)));
    }
    const EntryParts& p = *parts;
    StatementOperation op;
    op.operationDate = shortDate(field.line, p.valueDate);
    op.bookingDate = op.operationDate;
    if (!p.entryDate.isEmpty()) {
        const int valueMonth = number(p.valueDate.mid(2, 2));
        const int entryMonth = number(p.entryDate.left(2));
        int year = fullYear(number(p.valueDate.left(2)));
        // An entry date in January for a value date in December belongs to the next year.
        if (valueMonth - entryMonth > 6) {
            ++year;
        } else if (entryMonth - valueMonth > 6) {
            --year;
        }
        op.bookingDate = dayOf(field.line, year, entryMonth, number(p.entryDate.mid(2)));
    }
    op.direction = (p.mark == u"C" || p.mark == u"RD") ? 1 : 0;
    op.amount = op.direction == 1 ? *amount : -*amount;
    op.kind = KindCodes::FromSwiftCode(p.type.toString(), op.direction);
    const qsizetype slashes = p.references.indexOf(u"//");
    const QStringView bankReference =
        slashes < 0 ? QStringView() : p.references.mid(slashes + 2).trimmed();
    if (!bankReference.isEmpty() && bankReference.compare(u"NONREF", Qt::CaseInsensitive) != 0) {
        op.fileId.assign(bankReference.utf16(), size_t(bankReference.size()));
    }
    return op;
}

bool opensWith(const QString& details, char16_t separator) {
    qsizetype at = 0;
    if (details.size() >= 3 && details[0].isDigit() && details[1].isDigit() &&
        details[2].isDigit()) {
        at = 3;
    }
    return details.size() >= at + 3 && details[at] == separator && details[at + 1].isDigit() &&
           details[at + 2].isDigit();
}

// Calls take(number, text) for each subfield in file order; a number that repeats gives each of
// its pieces.
template <typename Take>
void forEachSubfield(QStringView details, char16_t separator, Take take) {
    const auto tagAt = [&details, separator](qsizetype i) {
        return details[i] == separator && i + 2 < details.size() && details[i + 1].isDigit() &&
               details[i + 2].isDigit();
    };
    qsizetype i = 0;
    while (i < details.size() && !tagAt(i)) {
        ++i;
    }
    while (i < details.size()) {
        const int number =
            (details[i + 1].unicode() - u'0') * 10 + (details[i + 2].unicode() - u'0');
        qsizetype end = i + 3;
        while (end < details.size() && !tagAt(end)) {
            ++end;
        }
        take(number, details.mid(i + 3, end - i - 3));
        i = end;
    }
}

std::u16string trimmedText(const QString& text) {
    const QStringView view = QStringView(text).trimmed();
    return {view.utf16(), size_t(view.size())};
}

void applyDetails(StatementOperation& op, const QString& details, char16_t separator) {
    if (separator == 0 || !opensWith(details, separator)) {
        op.title = trimmedText(details);
        return;
    }
    // Only the subfields read below are kept: 27, 28, 30-33 and 38.
    std::array<QString, 12> kept;
    const auto slot = [](int number) { return number >= 27 && number <= 38 ? number - 27 : -1; };
    QString title;
    forEachSubfield(details, separator, [&](int number, QStringView text) {
        if (const int at = slot(number); at >= 0) {
            kept[size_t(at)] += text;
        }
        if (number >= 20 && number <= 25) {
            title += text;
        }
    });
    const auto field = [&kept, &slot](int number) -> const QString& {
        return kept[size_t(slot(number))];
    };
    const QString name = !(field(32) + field(33)).trimmed().isEmpty() ? field(32) + field(33)
                                                                      : field(27) + field(28);
    QString account = StatementValues::DigitsOf(field(38));
    if (account.isEmpty()) {
        account = (field(30) + field(31)).trimmed();
    }
    op.title = trimmedText(title);
    op.counterpartyName = trimmedText(name);
    op.counterpartyAccount = account.toStdU16String();
}

class StatementBuilder {
public:
    StatementBuilder(char16_t separator, std::vector<size_t> entries)
        : m_separator(separator), m_entries(std::move(entries)) {}

    void add(const Field& field) {
        if (field.tag == u"20") {
            if (m_inStatement && !m_closed) {
                failMt940(field.line, QStringLiteral("nowy wyciąg, zanim wyciąg „%1” się skończył "
                                                     "(brak :62F: i „-”).")
                                          .arg(QString::fromStdU16String(current().reference)));
            }
            m_statements.emplace_back();
            if (m_statements.size() <= m_entries.size()) {
                const size_t room = m_entries[m_statements.size() - 1];
                current().operations.reserve(room);
                HugePages::adviseWithin(current().operations.data(),
                                        room * sizeof(StatementOperation));
            }
            current().reference = field.value.trimmed().toStdU16String();
            m_inStatement = true;
            m_closed = false;
            m_lastWasEntry = false;
            return;
        }
        if (field.tag == u"-") {
            // Some banks end a statement without a closing balance; "-" still ends it whole.
            m_inStatement = false;
            return;
        }
        if (!m_inStatement) {
            failMt940(field.line, QStringLiteral("pole :%1: poza wyciągiem.").arg(field.tag));
        }
        addToStatement(field);
    }

    std::vector<Statement> finish(int lastLine) {
        if (m_inStatement && !m_closed) {
            failMt940(lastLine,
                      QStringLiteral("plik urywa się w wyciągu „%1” (brak salda końcowego "
                                     ":62F: i końca wyciągu „-”).")
                          .arg(QString::fromStdU16String(current().reference)));
        }
        for (const Statement& statement : m_statements) {
            if (statement.account.empty()) {
                throw ImportError(
                    QStringLiteral("Plik MT940: wyciąg „%1” nie podaje rachunku (:25:).")
                        .arg(QString::fromStdU16String(statement.reference))
                        .toStdString());
            }
        }
        return std::move(m_statements);
    }

private:
    Statement& current() { return m_statements.back(); }

    void addToStatement(const Field& field) {
        Statement& statement = current();
        const QString& tag = field.tag;
        const bool wasEntry = m_lastWasEntry;
        m_lastWasEntry = false;
        if (tag == u"25") {
            statement.account = field.value.trimmed().toStdU16String();
        } else if (tag == u"60F" || tag == u"60M") {
            const Balance balance = readBalance(field);
            statement.openingBalance = balance.amount;
            statement.periodFrom = balance.date;
            statement.currency = balance.currency.toStdU16String();
        } else if (tag == u"61") {
            statement.operations.push_back(readEntry(field));
            m_lastWasEntry = true;
        } else if (tag == u"86" && wasEntry) {
            applyDetails(statement.operations.back(), field.value, m_separator);
        } else if (tag == u"62F" || tag == u"62M") {
            closeWith(field);
        }
    }

    void closeWith(const Field& field) {
        Statement& statement = current();
        const Balance balance = readBalance(field);
        if (statement.currency.empty()) {
            statement.currency = balance.currency.toStdU16String();
        } else if (balance.currency.toStdU16String() != statement.currency) {
            failMt940(field.line,
                      QStringLiteral("saldo końcowe w walucie %1, początkowe w %2.")
                          .arg(balance.currency, QString::fromStdU16String(statement.currency)));
        }
        statement.closingBalance = balance.amount;
        statement.periodTo = balance.date;
        m_closed = true;
    }

    char16_t m_separator;
    std::vector<size_t> m_entries;  // expected ":61:" fields of each statement
    std::vector<Statement> m_statements;
    bool m_inStatement = false;  // after ":20:", until "-" or the next ":20:"
    bool m_closed = false;       // the statement's closing balance was read
    bool m_lastWasEntry = false;
};

// Cuts lines into fields and hands each to the builder once it is complete (continuation lines
// join it without a separator).
class FieldSplitter {
public:
    explicit FieldSplitter(StatementBuilder& builder) : m_builder(builder) {}

    void line(QString line) {
        ++m_number;
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (line.contains(u'\r') || line.contains(QChar(0x01)) || line.contains(QChar(0x03))) {
            line.remove(u'\r').remove(QChar(0x01)).remove(QChar(0x03));
        }
        const qsizetype tagLength = tagLengthOf(line);
        if (tagLength > 0) {
            flush();
            m_field = {line.mid(1, tagLength - 2), line.mid(tagLength), {}, m_number};
            m_open = true;
        } else if (isEndLine(line.trimmed())) {
            flush();
            m_builder.add({QStringLiteral("-"), {}, {}, m_number});
        } else if (line.trimmed().isEmpty() || line.startsWith(u'{')) {
            return;  // blank lines and SWIFT block headers
        } else if (m_open) {
            (m_field.tag == u"61" ? m_field.extra : m_field.value) += line;
        } else {
            failMt940(m_number, QStringLiteral("tekst poza polem („%1”).").arg(line.left(40)));
        }
    }

    // The line number of the end.
    int finish() {
        flush();
        return m_number;
    }

private:
    void flush() {
        if (m_open) {
            m_open = false;
            m_builder.add(m_field);
        }
    }

    StatementBuilder& m_builder;
    Field m_field;
    bool m_open = false;
    int m_number = 0;
};

// The separator from the first characters of every ":86:" field, which are ASCII in every code
// page a statement comes in.
char16_t separatorIn(const std::string& bytes) {
    std::vector<QString> starts;
    for (size_t at = bytes.find(":86:"); at != std::string::npos; at = bytes.find(":86:", at + 4)) {
        const char before = at == 0 ? '\n' : bytes[at - 1];
        if (before == '\n' || before == '\x01' || before == '\xBF') {
            starts.push_back(QString::fromLatin1(
                bytes.data() + at + 4, qsizetype(std::min<size_t>(6, bytes.size() - at - 4))));
        }
    }
    return Mt940Reader::SubfieldSeparator(starts);
}

// The ":61:" fields of each statement, counted ahead so that a statement's operations take one
// allocation of their size: grown by doubling, they took up to three times that while growing.
std::vector<size_t> entriesPerStatement(const std::string& bytes) {
    std::vector<size_t> entries;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t field = bytes[at] == '\x01' ? at + 1 : at;
        if (bytes.compare(field, 4, ":20:") == 0) {
            entries.push_back(0);
        } else if (bytes.compare(field, 4, ":61:") == 0 && !entries.empty()) {
            ++entries.back();
        }
        const size_t end = bytes.find('\n', at);
        if (end == std::string::npos) {
            break;
        }
        at = end + 1;
    }
    return entries;
}

}  // namespace

namespace Mt940Reader {

char16_t SubfieldSeparator(const std::vector<QString>& details) {
    char16_t best = 0;
    int bestCount = 0;
    for (const char16_t separator : kSeparators) {
        int count = 0;
        for (const QString& text : details) {
            count += opensWith(text, separator) ? 1 : 0;
        }
        if (count > bestCount) {
            best = separator;
            bestCount = count;
        }
    }
    return best;
}

std::vector<Statement> Read(const std::string& bytes, std::optional<TextEncoding> encoding) {
    // Decoded a piece at a time, each ending with a whole line, so the file is never held twice.
    constexpr size_t kPiece = size_t(1) << 20;
    const TextEncoding page = encoding.value_or(TextDecoding::Detect(bytes));
    StatementBuilder builder(separatorIn(bytes), entriesPerStatement(bytes));
    FieldSplitter splitter(builder);
    for (size_t from = 0; from < bytes.size();) {
        size_t end = std::min(bytes.size(), from + kPiece);
        const size_t lineEnd = end < bytes.size() ? bytes.find('\n', end) : std::string::npos;
        end =
            lineEnd == std::string::npos ? (end < bytes.size() ? bytes.size() : end) : lineEnd + 1;
        const QString text = TextDecoding::Decode(bytes.substr(from, end - from), page);
        from = end;
        qsizetype at = 0;
        while (at < text.size()) {
            qsizetype stop = text.indexOf(u'\n', at);
            if (stop < 0) {
                stop = text.size();
            }
            splitter.line(text.mid(at, stop - at));
            at = stop + 1;
        }
    }
    std::vector<Statement> statements = builder.finish(splitter.finish());
    if (statements.empty()) {
        throw ImportError("Plik MT940 nie zawiera żadnego wyciągu (pola :20:).");
    }
    return statements;
}

}  // namespace Mt940Reader
