// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A document read by libxml2's SAX2 push parser, for large files. Gives the same element trees
// as XmlDocument and keeps its rules: DOCTYPE and entity declarations are refused, nothing is
// ever loaded from the network or another file, and malformed or truncated XML throws
// ImportError naming `what` (the format) and the line.

#include "TextDecoding.h"
#include "XmlTree.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamAttributes>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct _xmlParserCtxt;
struct _xmlError;

class XmlStream {
public:
    enum class Token { StartElement, EndElement, EndDocument, Other };

    // The bytes must outlive it. Every element whose parent is named `treeParent` is built whole
    // while the parser meets it, and comes as its start alone: readElement() gives it, and no
    // token follows for its insides. A statement's entries are many and small.
    XmlStream(const std::string& bytes, const char* what,
              std::optional<TextEncoding> encoding = std::nullopt,
              const QString& treeParent = QString());
    ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    // Advances by one token; an empty element gives a start and an end.
    Token next();
    // The local name of the element the reader stands on.
    QString name() const;
    int line() const;
    // The element the reader stands on (a start element), read whole, as XmlDocument reads it.
    // Nesting deeper than any statement format needs is refused.
    XmlNode readElement(int depth = 0);

private:
    // What the parser said, kept until it is asked for: the parser runs a piece of the file
    // ahead of its reader.
    struct Event {
        Token token = Token::Other;
        QString name;  // of an element; shared with every element of that name
        QString text;  // character data (Other)
        QXmlStreamAttributes attributes;
        int line = 0;
        bool layout = false;          // white space alone
        bool doctype = false;         // a DOCTYPE or entity declaration: refused when reached
        std::optional<XmlNode> tree;  // an element built whole
    };
    struct Free {
        void operator()(_xmlParserCtxt* context) const;
    };

    void feed();
    void push(Token token, const QString& name, int line);
    const QString& nameOf(const unsigned char* local);
    int parserLine() const;
    void openInTree(XmlNode& node);
    void settleLayout();
    void closeInTree();
    static void started(void* self, const unsigned char* local, const unsigned char*,
                        const unsigned char*, int, const unsigned char**, int attributeCount, int,
                        const unsigned char** attributes);
    static void ended(void* self, const unsigned char*, const unsigned char*, const unsigned char*);
    static void characters(void* self, const unsigned char* text, int length);
    static void cdata(void* self, const unsigned char* text, int length);
    static void text(void* self, const unsigned char* value, int length, bool cdata);
    static void declaration(void* self, const unsigned char*, const unsigned char*,
                            const unsigned char*);
    static void noteError(void* self, _xmlError* error);
    void failIfStopped() const;
    [[noreturn]] void failTooDeep(int line) const;
    [[noreturn]] void fail(const QString& what) const;
    [[noreturn]] void failParsing() const;

    QByteArray m_converted;  // the document in UTF-8 when it came in another code page
    const char* m_data = nullptr;
    size_t m_size = 0;
    size_t m_fed = 0;
    bool m_ended = false;  // the parser has had the whole file
    const char* m_what;
    QString m_treeParent;
    std::unique_ptr<_xmlParserCtxt, Free> m_context;
    std::deque<Event> m_events;
    Event m_current;
    std::vector<QString> m_path;  // the open elements given as tokens
    // The element being built whole, and its open descendants; the character data since the
    // last tag of each open element that has children (white space alone there is layout).
    XmlNode m_tree;
    struct Open {
        XmlNode* node;
        QString pending;             // character data since the element's last child
        bool pendingIsText = false;  // not white space alone
    };
    std::vector<Open> m_open;
    // libxml2 keeps each name once for the whole document: converted once, shared by every node.
    std::unordered_map<const unsigned char*, QString> m_names;
    int m_tooDeepLine = 0;  // where an element nested too deep began
    int m_errorCode = 0;    // libxml2's first error
    int m_errorLine = 0;
    int m_errorColumn = 0;
};
