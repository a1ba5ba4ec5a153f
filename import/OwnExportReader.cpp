// SPDX-License-Identifier: GPL-3.0-or-later
#include "OwnExportReader.h"

#include "ImportError.h"
#include "OperationKinds.h"
#include "StatementValues.h"
#include "TextDecoding.h"
#include "XmlTree.h"

#include <map>

namespace {

constexpr int kLastKind = 22;

// Groups operations by own account in order of first appearance.
class AccountGroups {
public:
    Statement& of(const std::u16string& account) {
        const auto [it, added] = m_index.emplace(account, m_statements.size());
        if (added) {
            m_statements.emplace_back();
            m_statements.back().account = account;
            m_statements.back().currency = u"PLN";
        }
        return m_statements[it->second];
    }
    std::vector<Statement> take() { return std::move(m_statements); }

private:
    std::map<std::u16string, size_t> m_index;
    std::vector<Statement> m_statements;
};

[[noreturn]] void failCsv(int line, const QString& what) {
    throw ImportError(
        QStringLiteral("Wiersz %1 pliku CSV Tavro: %2").arg(line).arg(what).toStdString());
}

[[noreturn]] void failXml(int line, const QString& what) {
    throw ImportError(QStringLiteral("Plik XML Tavro, operacja w wierszu %1: %2")
                          .arg(line)
                          .arg(what)
                          .toStdString());
}

// RFC 4180 records with ";" between fields; each record with the line it starts on.
struct Record {
    QStringList fields;
    int line = 0;
};

std::vector<Record> csvRecords(const QString& text) {
    std::vector<Record> records;
    Record record{{QString()}, 1};
    int line = 1;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                record.fields.back() += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                line += c == u'\n' ? 1 : 0;
                record.fields.back() += c;
            }
            continue;
        }
        if (c == u'"' && record.fields.back().isEmpty()) {
            quoted = any = true;
        } else if (c == u';') {
            record.fields += QString();
            any = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            if (any) {
                records.push_back(std::move(record));
            }
            record = Record{{QString()}, ++line};
            any = false;
        } else {
            record.fields.back() += c;
            any = true;
        }
    }
    if (quoted) {
        failCsv(record.line,
                QStringLiteral("pole w cudzysłowie nie jest zamknięte (plik niepełny)."));
    }
    if (any) {
        records.push_back(std::move(record));
    }
    return records;
}

int32_t kindOfLabel(const QString& label) {
    static const std::map<QString, int32_t> kinds = [] {
        std::map<QString, int32_t> names;
        for (int32_t kind = 0; kind <= kLastKind; ++kind) {
            names.emplace(QString::fromStdU16String(OperationKinds::Label(kind)), kind);
        }
        return names;
    }();
    if (const auto it = kinds.find(label); it != kinds.end()) {
        return it->second;
    }
    bool ok = false;
    const int32_t number = label.toInt(&ok);
    return ok ? number : -1;
}

// "<account>-<number>", the identifier both exports give an operation.
std::optional<int32_t> numberOf(const QString& identifier, const QString& account) {
    if (!identifier.startsWith(account + u'-')) {
        return std::nullopt;
    }
    bool ok = false;
    const int32_t number = identifier.mid(account.size() + 1).toInt(&ok);
    return ok ? std::optional<int32_t>(number) : std::nullopt;
}

StatementOperation csvOperation(const Record& record) {
    enum Column {
        Id,
        Account,
        AccountName,
        Date1,
        Date2,
        Name,
        Counterparty,
        Title,
        Amount,
        Kind,
        Direction
    };
    const QStringList& f = record.fields;
    StatementOperation op;
    const auto tid = numberOf(f[Id], f[Account]);
    const auto date1 = StatementValues::IsoDay(f[Date1]);
    const auto date2 = StatementValues::IsoDay(f[Date2]);
    const auto amount = StatementValues::Grosze(f[Amount]);
    const int32_t kind = kindOfLabel(f[Kind]);
    if (!tid) {
        failCsv(record.line, QStringLiteral("nieczytelny identyfikator „%1”.").arg(f[Id]));
    }
    if (!date1 || !date2 || f[Date1].size() != 10 || f[Date2].size() != 10) {
        failCsv(record.line, QStringLiteral("nieczytelna data."));
    }
    if (!amount) {
        failCsv(record.line, QStringLiteral("nieczytelna kwota „%1”.").arg(f[Amount]));
    }
    if (kind < 0) {
        failCsv(record.line, QStringLiteral("nieznany rodzaj operacji „%1”.").arg(f[Kind]));
    }
    if (f[Direction] != u"Uznanie" && f[Direction] != u"Obciążenie") {
        failCsv(record.line, QStringLiteral("nieznany kierunek „%1”.").arg(f[Direction]));
    }
    op.tid = tid;
    op.fileId = f[Id].toStdU16String();
    op.operationDate = *date1;
    op.bookingDate = *date2;
    op.counterpartyName = f[Name].toStdU16String();
    op.counterpartyAccount = f[Counterparty].toStdU16String();
    op.title = f[Title].toStdU16String();
    op.amount = *amount;
    op.kind = kind;
    op.direction = f[Direction] == u"Uznanie" ? 1 : 0;
    return op;
}

StatementOperation xmlOperation(const XmlNode& node) {
    StatementOperation op;
    const QString account = node.attributes.value(QStringLiteral("account")).toString();
    const QString id = node.attributes.value(QStringLiteral("id")).toString();
    bool tidOk = false, ioOk = false, kindOk = false;
    op.tid = id.toInt(&tidOk);
    op.direction = node.textAt(u"io").toInt(&ioOk);
    op.kind = node.textAt(u"class").toInt(&kindOk);
    const auto date1 = StatementValues::DayMonthYear(node.textAt(u"date1"));
    const auto date2 = StatementValues::DayMonthYear(node.textAt(u"date2"));
    const auto amount = StatementValues::Grosze(node.textAt(u"amount"));
    if (!tidOk || account.isEmpty()) {
        failXml(node.line, QStringLiteral("brak numeru (id) albo rachunku (account)."));
    }
    if (!ioOk || (op.direction != 0 && op.direction != 1) || !kindOk) {
        failXml(node.line, QStringLiteral("nieczytelny kierunek (io) albo rodzaj (class)."));
    }
    if (!date1 || !date2 || !amount) {
        failXml(node.line, QStringLiteral("nieczytelna data albo kwota."));
    }
    op.fileId = (account + u'-' + id).toStdU16String();
    op.operationDate = *date1;
    op.bookingDate = *date2;
    op.amount = *amount;
    // Texts as written: the writer turns line ends and tabs into references, so nothing is trimmed.
    auto text = [&node](QStringView name) {
        const XmlNode* child = node.child(name);
        return child ? child->text.toStdU16String() : std::u16string();
    };
    op.counterpartyAccount = text(u"account");
    op.counterpartyName = text(u"name");
    op.title = text(u"description");
    return op;
}

}  // namespace

namespace OwnExportReader {

const char* const kCsvHeader =
    "Identyfikator;Numer rachunku;Nazwa rachunku;Data operacji;Data księgowania;Kontrahent;"
    "Rachunek kontrahenta;Tytuł;Kwota;Rodzaj;Kierunek";

std::vector<Statement> ReadCsv(const std::string& bytes, std::optional<TextEncoding> encoding) {
    const std::vector<Record> records =
        csvRecords(TextDecoding::Decode(bytes, encoding.value_or(TextDecoding::Detect(bytes))));
    if (records.empty() || records.front().fields.join(u';') != QString::fromUtf8(kCsvHeader)) {
        failCsv(1, QStringLiteral("to nie jest nagłówek eksportu Tavro."));
    }
    AccountGroups groups;
    for (size_t i = 1; i < records.size(); ++i) {
        const Record& record = records[i];
        if (record.fields.size() != 11) {
            failCsv(record.line, QStringLiteral("%1 pól zamiast 11.").arg(record.fields.size()));
        }
        Statement& statement = groups.of(record.fields[1].toStdU16String());
        statement.operations.push_back(csvOperation(record));
        if (statement.accountName.empty()) {
            statement.accountName = record.fields[2].toStdU16String();
        }
    }
    return groups.take();
}

std::vector<Statement> ReadXml(const std::string& bytes, std::optional<TextEncoding> encoding) {
    constexpr const char* kWhat = "XML Tavro";
    XmlDocument document(bytes, kWhat, encoding);
    const QXmlStreamReader& reader = document.reader();
    AccountGroups groups;
    bool root = false;
    while (document.next() != QXmlStreamReader::EndDocument) {
        if (reader.tokenType() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (!root) {
            if (reader.name() != u"operations") {
                failXml(int(reader.lineNumber()), QStringLiteral("brak elementu <operations>."));
            }
            root = true;
            continue;
        }
        const XmlNode node = document.readElement();
        if (node.name == u"operation") {
            const QString account = node.attributes.value(QStringLiteral("account")).toString();
            groups.of(account.toStdU16String()).operations.push_back(xmlOperation(node));
        }
    }
    return groups.take();
}

}  // namespace OwnExportReader
