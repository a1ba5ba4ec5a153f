// SPDX-License-Identifier: GPL-3.0-or-later
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
    // Walked piece by piece: splitting the path into a list cost an allocation per look-up, and
    // a statement's entries take many.
    const XmlNode* node = this;
    qsizetype from = 0;
    while (node != nullptr && from <= path.size()) {
        qsizetype end = path.indexOf(u'/', from);
        if (end < 0) {
            end = path.size();
        }
        node = node->child(path.mid(from, end - from));
        from = end + 1;
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

QString RootName(const std::string& bytes) {
    XmlDocument document(bytes, "XML");
    try {
        while (document.next() != QXmlStreamReader::EndDocument) {
            if (document.reader().isStartElement()) {
                return document.reader().name().toString();
            }
        }
    } catch (const ImportError&) {
    }
    return {};
}

}  // namespace XmlTree

namespace {
// Small enough to keep the reader's own copy small, large enough to cost nothing.
constexpr size_t kPiece = size_t(1) << 20;
}  // namespace

XmlDocument::XmlDocument(const std::string& bytes, const char* what,
                         std::optional<TextEncoding> encoding)
    : m_bytes(bytes), m_what(what) {
    const auto page = XmlTree::EncodingOf(bytes, encoding);
    if (page && *page != TextEncoding::Utf8) {
        m_reader.addData(TextDecoding::Decode(bytes, *page));
        m_fed = bytes.size();
    }
}

QXmlStreamReader::TokenType XmlDocument::next() {
    for (;;) {
        const QXmlStreamReader::TokenType token = m_reader.readNext();
        if (token == QXmlStreamReader::DTD) {
            fail(QStringLiteral("zawiera deklarację DOCTYPE lub encji (wiersz %1); takiego pliku "
                                "Tavro nie czyta.")
                     .arg(m_reader.lineNumber()));
        }
        if (token != QXmlStreamReader::Invalid) {
            return token;
        }
        const bool wanting = m_reader.error() == QXmlStreamReader::PrematureEndOfDocumentError;
        if (wanting && m_fed < m_bytes.size()) {
            const size_t piece = std::min(kPiece, m_bytes.size() - m_fed);
            m_reader.addData(QByteArray(m_bytes.data() + m_fed, qsizetype(piece)));
            m_fed += piece;
            continue;
        }
        fail(QStringLiteral("jest %1 (wiersz %2, kolumna %3).")
                 .arg(wanting ? QStringLiteral("niepełny") : QStringLiteral("uszkodzony"))
                 .arg(m_reader.lineNumber())
                 .arg(m_reader.columnNumber()));
    }
}

XmlNode XmlDocument::readElement(int depth) {
    constexpr int kDeepest = 64;
    if (depth > kDeepest) {
        fail(QStringLiteral("ma zbyt głęboko zagnieżdżone elementy (wiersz %1).")
                 .arg(m_reader.lineNumber()));
    }
    XmlNode node;
    node.name = m_reader.name().toString();
    if (const QXmlStreamAttributes attributes = m_reader.attributes(); !attributes.isEmpty()) {
        node.attributes = attributes;
    }
    node.line = int(m_reader.lineNumber());
    for (;;) {
        switch (next()) {
            case QXmlStreamReader::StartElement:
                node.children.push_back(readElement(depth + 1));
                break;
            case QXmlStreamReader::Characters:
                // White space between child elements is layout, not text.
                if (node.children.empty() || !m_reader.isWhitespace()) {
                    node.text += m_reader.text();
                }
                break;
            case QXmlStreamReader::EndElement:
                return node;
            case QXmlStreamReader::EndDocument:
                fail(QStringLiteral("jest niepełny (element %1).").arg(node.name));
            default:
                break;
        }
    }
}

void XmlDocument::fail(const QString& what) const {
    throw ImportError(
        (QStringLiteral("Plik ") + QLatin1String(m_what) + u' ' + what).toStdString());
}
