// SPDX-License-Identifier: GPL-3.0-or-later
#include "XmlStream.h"

#include "ImportError.h"

#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>

#include <algorithm>
#include <cstring>

namespace {

QString text(const xmlChar* value) {
    return value ? QString::fromUtf8(reinterpret_cast<const char*>(value)) : QString();
}

}  // namespace

void XmlStream::Free::operator()(_xmlTextReader* reader) const {
    xmlFreeTextReader(reader);
}

XmlStream::XmlStream(const std::string& bytes, const char* what,
                     std::optional<TextEncoding> encoding)
    : m_data(bytes.data()), m_size(bytes.size()), m_what(what) {
    const auto page = XmlTree::EncodingOf(bytes, encoding);
    const char* override = nullptr;
    int options = XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOWARNING | XML_PARSE_NOERROR;
    if (page && *page != TextEncoding::Utf8) {
        m_converted = TextDecoding::Decode(bytes, *page).toUtf8();
        m_data = m_converted.constData();
        m_size = size_t(m_converted.size());
        // The declaration still names the file's own code page; it must not win.
        override = "UTF-8";
        options |= XML_PARSE_IGNORE_ENC;
    }
    // No entity substitution, no DTD loading, no network: a DOCTYPE is refused when it comes.
    m_reader.reset(xmlReaderForIO(&XmlStream::feed, nullptr, this, nullptr, override, options));
    if (!m_reader) {
        fail(QStringLiteral("nie daje się czytać."));
    }
    xmlTextReaderSetStructuredErrorHandler(m_reader.get(), &XmlStream::noteError, this);
}

XmlStream::~XmlStream() = default;

// Given to the reader a piece at a time, so the file is never held twice.
int XmlStream::feed(void* self, char* buffer, int size) {
    auto* stream = static_cast<XmlStream*>(self);
    const size_t piece = std::min(size_t(std::max(size, 0)), stream->m_size - stream->m_fed);
    std::memcpy(buffer, stream->m_data + stream->m_fed, piece);
    stream->m_fed += piece;
    return int(piece);
}

void XmlStream::noteError(void* self, _xmlError* error) {
    auto* stream = static_cast<XmlStream*>(self);
    if (stream->m_errorCode == 0 && error != nullptr && error->level >= XML_ERR_ERROR) {
        stream->m_errorCode = error->code;
        stream->m_errorLine = error->line;
        stream->m_errorColumn = error->int2;
    }
}

XmlStream::Token XmlStream::next() {
    if (m_emptyOpen) {
        m_emptyOpen = false;
        return Token::EndElement;
    }
    const int read = xmlTextReaderRead(m_reader.get());
    if (read < 0 || m_errorCode != 0) {
        failParsing();
    }
    if (read == 0) {
        return Token::EndDocument;
    }
    switch (xmlTextReaderNodeType(m_reader.get())) {
        case XML_READER_TYPE_DOCUMENT_TYPE:
        case XML_READER_TYPE_ENTITY:
        case XML_READER_TYPE_ENTITY_REFERENCE:
            fail(QStringLiteral("zawiera deklarację DOCTYPE lub encji (wiersz %1); takiego pliku "
                                "Tavro nie czyta.")
                     .arg(line()));
        case XML_READER_TYPE_ELEMENT:
            m_emptyOpen = xmlTextReaderIsEmptyElement(m_reader.get()) == 1;
            return Token::StartElement;
        case XML_READER_TYPE_END_ELEMENT:
            return Token::EndElement;
        default:
            return Token::Other;
    }
}

QString XmlStream::name() const {
    return localName();
}

const QString& XmlStream::localName() const {
    const xmlChar* interned = xmlTextReaderConstLocalName(m_reader.get());
    auto found = m_names.find(interned);
    if (found == m_names.end()) {
        found = m_names.emplace(interned, text(interned)).first;
    }
    return found->second;
}

int XmlStream::line() const {
    const xmlNodePtr node = xmlTextReaderCurrentNode(m_reader.get());
    return node ? int(xmlGetLineNo(node)) : xmlTextReaderGetParserLineNumber(m_reader.get());
}

XmlNode XmlStream::readElement(int depth) {
    constexpr int kDeepest = 64;
    if (depth > kDeepest) {
        fail(QStringLiteral("ma zbyt głęboko zagnieżdżone elementy (wiersz %1).").arg(line()));
    }
    XmlNode node;
    node.name = localName();
    node.line = line();
    xmlTextReader* reader = m_reader.get();
    if (xmlTextReaderHasAttributes(reader) == 1) {
        while (xmlTextReaderMoveToNextAttribute(reader) == 1) {
            if (xmlTextReaderIsNamespaceDecl(reader) != 1) {
                node.attributes.append(localName(), text(xmlTextReaderConstValue(reader)));
            }
        }
        xmlTextReaderMoveToElement(reader);
    }
    for (;;) {
        switch (next()) {
            case Token::StartElement:
                node.children.push_back(readElement(depth + 1));
                break;
            case Token::EndElement:
                return node;
            case Token::EndDocument:
                fail(QStringLiteral("jest niepełny (element %1).").arg(node.name));
            case Token::Other: {
                const int type = xmlTextReaderNodeType(reader);
                // White space between child elements is layout, not text.
                const bool layout = type == XML_READER_TYPE_WHITESPACE ||
                                    type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE;
                if (type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA ||
                    (layout && node.children.empty())) {
                    node.text += text(xmlTextReaderConstValue(reader));
                }
                break;
            }
        }
    }
}

void XmlStream::fail(const QString& what) const {
    throw ImportError(
        (QStringLiteral("Plik ") + QLatin1String(m_what) + u' ' + what).toStdString());
}

void XmlStream::failParsing() const {
    // A file cut short fails where its bytes end.
    const bool cut = m_errorCode == XML_ERR_DOCUMENT_END || m_errorCode == XML_ERR_DOCUMENT_EMPTY ||
                     m_errorCode == XML_ERR_TAG_NOT_FINISHED ||
                     m_errorLine >= int(std::count(m_data, m_data + m_size, '\n'));
    fail(QStringLiteral("jest %1 (wiersz %2, kolumna %3).")
             .arg(cut ? QStringLiteral("niepełny") : QStringLiteral("uszkodzony"))
             .arg(m_errorLine)
             .arg(m_errorColumn));
}
