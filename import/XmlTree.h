// SPDX-License-Identifier: GPL-3.0-or-later
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

// The local name of the document's root element; empty when there is none.
QString RootName(const std::string& bytes);

}  // namespace XmlTree

// A streamed document: UTF-8 bytes are given to the reader a piece at a time, as it needs them,
// so the file is never held twice; any other code page is converted first. The bytes must
// outlive it. DOCTYPE and entity declarations and malformed or truncated XML throw ImportError
// naming `what` (the format) and the line.
class XmlDocument {
public:
    XmlDocument(const std::string& bytes, const char* what,
                std::optional<TextEncoding> encoding = std::nullopt);
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    const QXmlStreamReader& reader() const { return m_reader; }

    // Advances by one token.
    QXmlStreamReader::TokenType next();
    // The element the reader stands on (a start element), read whole. Nesting deeper than any
    // statement format needs is refused.
    XmlNode readElement(int depth = 0);

private:
    [[noreturn]] void fail(const QString& what) const;

    const std::string& m_bytes;
    const char* m_what;
    size_t m_fed = 0;  // bytes given to the reader so far
    QXmlStreamReader m_reader;
};
