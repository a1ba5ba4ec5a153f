#include "XmlTree.h"

#include "ImportError.h"
#include "TextDecoding.h"

#include <QRegularExpression>

const XmlNode* XmlNode::child(QStringView local) const {
    for (const XmlNode& node : children) {
        if (node.name == local) {
            return &node;
        }
    }
    return nullptr;
}

const XmlNode* XmlNode::at(QStringView path) const {
    const XmlNode* node = this;
    for (const QStringView part : path.split(u'/')) {
        node = node->child(part);
        if (node == nullptr) {
            return nullptr;
        }
    }
    return node;
}

QString XmlNode::textAt(QStringView path) const {
    const XmlNode* node = at(path);
    return node ? node->text.trimmed() : QString();
}

std::vector<const XmlNode*> XmlNode::all(QStringView local) const {
    std::vector<const XmlNode*> out;
    for (const XmlNode& node : children) {
        if (node.name == local) {
            out.push_back(&node);
        }
    }
    return out;
}

namespace XmlTree {

std::optional<TextEncoding> EncodingOf(const std::string& bytes,
                                       std::optional<TextEncoding> encoding) {
    if (encoding) {
        return encoding;
    }
    static const QRegularExpression declaration(
        QStringLiteral("^(?:\\xEF\\xBB\\xBF)?\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"']([^\"']+)"));
    const QString head =
        QString::fromLatin1(bytes.data(), qsizetype(std::min<size_t>(bytes.size(), 200)));
    const QRegularExpressionMatch m = declaration.match(head);
    if (m.hasMatch()) {
        return TextDecoding::FromName(m.captured(1));
    }
    return TextDecoding::Detect(bytes);
}

QXmlStreamReader::TokenType Next(QXmlStreamReader& reader, const char* what) {
    const QXmlStreamReader::TokenType token = reader.readNext();
    if (token == QXmlStreamReader::DTD) {
        throw ImportError(
            QStringLiteral("Plik %1 zawiera deklarację DOCTYPE lub encji (wiersz %2); "
                           "takiego pliku Tavro nie czyta.")
                .arg(QLatin1String(what))
                .arg(reader.lineNumber())
                .toStdString());
    }
    if (token == QXmlStreamReader::Invalid) {
        const bool truncated = reader.error() == QXmlStreamReader::PrematureEndOfDocumentError;
        throw ImportError(
            QStringLiteral("Plik %1 jest %2 (wiersz %3, kolumna %4).")
                .arg(QLatin1String(what))
                .arg(truncated ? QStringLiteral("niepełny") : QStringLiteral("uszkodzony"))
                .arg(reader.lineNumber())
                .arg(reader.columnNumber())
                .toStdString());
    }
    return token;
}

XmlNode ReadElement(QXmlStreamReader& reader, const char* what, int depth) {
    constexpr int kDeepest = 64;
    if (depth > kDeepest) {
        throw ImportError(
            QStringLiteral("Plik %1 ma zbyt głęboko zagnieżdżone elementy (wiersz %2).")
                .arg(QLatin1String(what))
                .arg(reader.lineNumber())
                .toStdString());
    }
    XmlNode node;
    node.name = reader.name().toString();
    if (const QXmlStreamAttributes attributes = reader.attributes(); !attributes.isEmpty()) {
        node.attributes = attributes;
    }
    node.line = int(reader.lineNumber());
    for (;;) {
        switch (Next(reader, what)) {
            case QXmlStreamReader::StartElement:
                node.children.push_back(ReadElement(reader, what, depth + 1));
                break;
            case QXmlStreamReader::Characters:
                // White space between child elements is layout, not text.
                if (node.children.empty() || !reader.isWhitespace()) {
                    node.text += reader.text();
                }
                break;
            case QXmlStreamReader::EndElement:
                return node;
            case QXmlStreamReader::EndDocument:
                throw ImportError(QStringLiteral("Plik %1 jest niepełny (element %2).")
                                      .arg(QLatin1String(what), node.name)
                                      .toStdString());
            default:
                break;
        }
    }
}

QString RootName(const std::string& bytes) {
    XmlDocument document(bytes);
    QXmlStreamReader& reader = document.reader();
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            return reader.name().toString();
        }
        if (token == QXmlStreamReader::Invalid) {
            break;
        }
    }
    return {};
}

}  // namespace XmlTree

XmlDocument::XmlDocument(const std::string& bytes, std::optional<TextEncoding> encoding) {
    const auto page = XmlTree::EncodingOf(bytes, encoding);
    if (!page || *page == TextEncoding::Utf8) {
        m_reader.addData(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
    } else {
        m_reader.addData(TextDecoding::Decode(bytes, *page));
    }
}
