// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatementReader.h"

#include "CamtReader.h"
#include "CsvReader.h"
#include "ImportError.h"
#include "Mt940Reader.h"
#include "OfxReader.h"
#include "OwnExportReader.h"
#include "XmlTree.h"

#include <QRegularExpression>

namespace {

// The first bytes are enough to tell the formats apart; they are ASCII in every one of them.
QString head(const std::string& bytes) {
    size_t from = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    const size_t length = std::min<size_t>(bytes.size() - from, 4096);
    return QString::fromLatin1(bytes.data() + from, qsizetype(length));
}

std::optional<StatementFormat> xmlFormat(const QString& start, const std::string& bytes) {
    if (start.contains(QStringLiteral("camt.053")) ||
        start.contains(QStringLiteral("BkToCstmrStmt"))) {
        return StatementFormat::Camt053;
    }
    if (start.contains(QStringLiteral("OFXHEADER")) || start.contains(QStringLiteral("<OFX>"))) {
        return StatementFormat::Ofx;
    }
    const QString root = XmlTree::RootName(bytes.substr(0, 64 * 1024));
    if (root == u"operations") {
        return StatementFormat::OwnXml;
    }
    if (root == u"OFX") {
        return StatementFormat::Ofx;
    }
    return std::nullopt;
}

}  // namespace

namespace StatementReader {

std::optional<StatementFormat> DetectFormat(const std::string& bytes) {
    const QString start = head(bytes);
    const QString trimmed = start.trimmed();
    if (trimmed.startsWith(QStringLiteral("OFXHEADER"))) {
        return StatementFormat::Ofx;
    }
    if (trimmed.startsWith(u'<')) {
        return xmlFormat(start, bytes);
    }
    if (start.startsWith(QString::fromLatin1(QByteArray(OwnExportReader::kCsvHeader).left(20)))) {
        return StatementFormat::OwnCsv;
    }
    static const QRegularExpression mt940(QStringLiteral("(^|\\n)[\\x01\\s]*:20:"));
    static const QRegularExpression mt940Fields(QStringLiteral("(^|\\n):(25|60F|61):"));
    if (mt940.match(start).hasMatch() && mt940Fields.match(start).hasMatch()) {
        return StatementFormat::Mt940;
    }
    return std::nullopt;
}

std::optional<StatementFormat> FormatFromName(const std::string& name) {
    if (name == "mt940") {
        return StatementFormat::Mt940;
    }
    if (name == "camt") {
        return StatementFormat::Camt053;
    }
    if (name == "ofx") {
        return StatementFormat::Ofx;
    }
    if (name == "csv") {
        return StatementFormat::OwnCsv;
    }
    if (name == "xml") {
        return StatementFormat::OwnXml;
    }
    return std::nullopt;
}

StatementFile Read(const std::string& bytes, std::optional<StatementFormat> format,
                   std::optional<TextEncoding> encoding, const CsvProfile* profile) {
    if (bytes.size() > kLargestFile) {
        throw ImportError("Plik jest większy niż 256 MiB; Tavro takiego wyciągu nie wczytuje.");
    }
    if (profile && (!format || *format == StatementFormat::BankCsv)) {
        return CsvReader::Read(bytes, *profile, encoding);
    }
    if (format == StatementFormat::BankCsv) {
        throw ImportError("Do pliku CSV z banku trzeba wybrać profil CSV.");
    }
    if (!format) {
        format = DetectFormat(bytes);
    }
    if (!format) {
        throw ImportError(
            "Nieznany format pliku: to nie jest MT940, camt.053, OFX ani eksport Tavro.");
    }
    StatementFile file;
    file.format = *format;
    switch (*format) {
        case StatementFormat::Mt940:
            file.statements = Mt940Reader::Read(bytes, encoding);
            break;
        case StatementFormat::Camt053:
            file.statements = CamtReader::Read(bytes, encoding);
            break;
        case StatementFormat::Ofx:
            file.statements = OfxReader::Read(bytes, encoding);
            break;
        case StatementFormat::OwnCsv:
            file.statements = OwnExportReader::ReadCsv(bytes, encoding);
            break;
        case StatementFormat::OwnXml:
            file.statements = OwnExportReader::ReadXml(bytes, encoding);
            break;
        case StatementFormat::BankCsv:
            break;
    }
    return file;
}

}  // namespace StatementReader
