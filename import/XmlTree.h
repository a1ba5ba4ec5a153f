#pragma once
// Small element trees cut out of a streamed XML file, matched by local names; DOCTYPE and entity
// declarations are refused.

#include <QString>
#include <QXmlStreamReader>

#include "TextDecoding.h"

#include <optional>

#include <string>
#include <vector>

struct XmlNode {
    QString name;  // local name
    QString text;  // the element's own character data
    QXmlStreamAttributes attributes;
    std::vector<XmlNode> children;
    int line = 0;

    // The first child with that local name; nullptr when there is none.
    const XmlNode* child(QStringView local) const;
    // The first descendant along a "/"-separated path of local names.
    const XmlNode* at(QStringView path) const;
    // Its text, trimmed; empty when the path does not exist.
    QString textAt(QStringView path) const;
    // Every child with that local name.
    std::vector<const XmlNode*> all(QStringView local) const;
};

namespace XmlTree {

// The document's code page: the given one, else the one of the four its declaration names, else
// (no declaration) UTF-8 when valid, else the detected Polish code page; nothing when the
// declaration names another that the XML reader then handles itself.
std::optional<TextEncoding> EncodingOf(const std::string& bytes,
                                       std::optional<TextEncoding> encoding = std::nullopt);

// Advances the reader by one token; throws ImportError on a DOCTYPE or on malformed XML,
// naming `what` (the format) and the line.
QXmlStreamReader::TokenType Next(QXmlStreamReader& reader, const char* what);

// The element the reader stands on (a start element), read whole.
// Nesting deeper than any statement format needs is refused.
XmlNode ReadElement(QXmlStreamReader& reader, const char* what, int depth = 0);

// The local name of the document's root element; empty when there is none.
QString RootName(const std::string& bytes);

}  // namespace XmlTree

// A stream reader over a document: UTF-8 bytes are read in place, any other code page is
// converted first. The bytes must outlive it.
class XmlDocument {
public:
    explicit XmlDocument(const std::string& bytes,
                         std::optional<TextEncoding> encoding = std::nullopt);
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    QXmlStreamReader& reader() { return m_reader; }

private:
    QXmlStreamReader m_reader;
};
