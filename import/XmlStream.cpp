// SPDX-License-Identifier: GPL-3.0-or-later
#include "XmlStream.h"

#include "ImportError.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>

namespace {

// The parser is given the file a piece at a time, so the file is never held twice and the
// tokens waiting for the reader stay few.
constexpr size_t kParserPiece = 4 * 1024;
constexpr int kDeepest = 64;

QString utf8Text(const xmlChar* value, int length = -1) {
    return value ? QString::fromUtf8(reinterpret_cast<const char*>(value), length) : QString();
}

bool layoutOnly(const xmlChar* text, int length) {
    return std::all_of(text, text + length,
                       [](xmlChar c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

}  // namespace

void XmlStream::Free::operator()(_xmlParserCtxt* context) const {
    xmlFreeParserCtxt(context);
}

XmlStream::XmlStream(const std::string& bytes, const char* what,
                     std::optional<TextEncoding> encoding, const QString& treeParent)
    : m_data(bytes.data()), m_size(bytes.size()), m_what(what), m_treeParent(treeParent) {
    const auto page = XmlTree::EncodingOf(bytes, encoding);
    // No entity substitution, no DTD loading, no network: a DOCTYPE is refused when it comes.
    int options = XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOWARNING | XML_PARSE_NOERROR;
    if (page && *page != TextEncoding::Utf8) {
        m_converted = TextDecoding::Decode(bytes, *page).toUtf8();
        m_data = m_converted.constData();
        m_size = size_t(m_converted.size());
        // The declaration still names the file's own code page; it must not win.
        options |= XML_PARSE_IGNORE_ENC;
    }
    xmlSAXHandler handler{};
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = &XmlStream::started;
    handler.endElementNs = &XmlStream::ended;
    handler.characters = &XmlStream::characters;
    handler.ignorableWhitespace = &XmlStream::characters;
    handler.cdataBlock = &XmlStream::cdata;
    handler.internalSubset = &XmlStream::declaration;
    handler.externalSubset = &XmlStream::declaration;
    handler.serror = &XmlStream::noteError;
    // The first bytes tell the parser the code page the file is in.
    const int first = int(std::min<size_t>(4, m_size));
    m_context.reset(xmlCreatePushParserCtxt(&handler, this, m_data, first, nullptr));
    if (!m_context) {
        fail(QStringLiteral("nie daje się czytać."));
    }
    m_fed = size_t(first);
    xmlCtxtUseOptions(m_context.get(), options);
}

XmlStream::~XmlStream() = default;

void XmlStream::feed() {
    const size_t piece = std::min(kParserPiece, m_size - m_fed);
    m_ended = m_fed + piece == m_size;
    xmlParseChunk(m_context.get(), m_data + m_fed, int(piece), m_ended ? 1 : 0);
    m_fed += piece;
}

void XmlStream::failIfStopped() const {
    if (m_tooDeepLine != 0) {
        failTooDeep(m_tooDeepLine);
    }
    if (m_errorCode != 0) {
        failParsing();
    }
}

XmlStream::Token XmlStream::next() {
    while (m_events.empty() && m_errorCode == 0 && m_tooDeepLine == 0 && !m_ended) {
        feed();
    }
    if (m_events.empty()) {
        failIfStopped();
        m_current = Event{};
        m_current.token = Token::EndDocument;
        m_current.line = parserLine();
        return Token::EndDocument;
    }
    m_current = std::move(m_events.front());
    m_events.pop_front();
    if (m_current.doctype) {
        fail(QStringLiteral("zawiera deklarację DOCTYPE lub encji (wiersz %1); takiego pliku "
                            "Tavro nie czyta.")
                 .arg(m_current.line));
    }
    return m_current.token;
}

QString XmlStream::name() const {
    return m_current.name;
}

int XmlStream::line() const {
    return m_current.line;
}

XmlNode XmlStream::readElement(int depth) {
    if (m_current.tree) {
        XmlNode node = std::move(*m_current.tree);
        m_current.tree.reset();
        return node;
    }
    if (depth > kDeepest) {
        failTooDeep(line());
    }
    XmlNode node;
    node.name = m_current.name;
    node.line = m_current.line;
    node.attributes = std::move(m_current.attributes);
    for (;;) {
        switch (next()) {
            case Token::StartElement:
                node.children.push_back(readElement(depth + 1));
                break;
            case Token::EndElement:
                return node;
            case Token::EndDocument:
                fail(QStringLiteral("jest niepełny (element %1).").arg(node.name));
            case Token::Other:
                // White space between child elements is layout, not text.
                if (!m_current.layout || node.children.empty()) {
                    node.text += m_current.text;
                }
                break;
        }
    }
}

void XmlStream::push(Token token, const QString& name, int line) {
    Event& event = m_events.emplace_back();
    event.token = token;
    event.name = name;
    event.line = line;
}

const QString& XmlStream::nameOf(const xmlChar* local) {
    auto found = m_names.find(local);
    if (found == m_names.end()) {
        found = m_names.emplace(local, utf8Text(local)).first;
    }
    return found->second;
}

int XmlStream::parserLine() const {
    const xmlParserCtxt* context = m_context.get();
    return context && context->input ? context->input->line : 0;
}

// Built in place: only the innermost element is open, so growing its parent's children never
// moves an open one.
void XmlStream::openInTree(XmlNode& node) {
    m_open.push_back(Open{&node, {}, false});
}

// Character data between two child elements is kept unless it is white space alone.
void XmlStream::settleLayout() {
    Open& open = m_open.back();
    if (open.pending.isEmpty()) {
        return;
    }
    if (open.pendingIsText) {
        open.node->text += open.pending;
    }
    open.pending.clear();
    open.pendingIsText = false;
}

void XmlStream::closeInTree() {
    settleLayout();
    m_open.pop_back();
    if (!m_open.empty()) {
        return;
    }
    Event& event = m_events.emplace_back();
    event.token = Token::StartElement;
    event.name = m_tree.name;
    event.line = m_tree.line;
    event.tree = std::move(m_tree);
    m_tree = XmlNode();
}

void XmlStream::started(void* self, const xmlChar* local, const xmlChar*, const xmlChar*, int,
                        const xmlChar**, int attributeCount, int, const xmlChar** attributes) {
    auto* stream = static_cast<XmlStream*>(self);
    XmlNode* node = nullptr;
    const bool inTree = !stream->m_open.empty();
    if (inTree) {
        if (int(stream->m_open.size()) > kDeepest) {
            // Thrown once the parser has returned, not through libxml2's own frames.
            stream->m_tooDeepLine = stream->parserLine();
            xmlStopParser(stream->m_context.get());
            return;
        }
        stream->settleLayout();
        node = &stream->m_open.back().node->children.emplace_back();
    } else if (!stream->m_treeParent.isEmpty() && !stream->m_path.empty() &&
               stream->m_path.back() == stream->m_treeParent) {
        node = &stream->m_tree;
    }
    const QString& name = stream->nameOf(local);
    QXmlStreamAttributes read;
    // Five pointers an attribute: local name, prefix, URI, value start, value end.
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        read.append(stream->nameOf(attribute[0]),
                    utf8Text(attribute[3], int(attribute[4] - attribute[3])));
    }
    if (node != nullptr) {
        node->name = name;
        node->line = stream->parserLine();
        node->attributes = std::move(read);
        stream->openInTree(*node);
        return;
    }
    stream->m_path.push_back(name);
    stream->push(Token::StartElement, name, stream->parserLine());
    stream->m_events.back().attributes = std::move(read);
}

void XmlStream::ended(void* self, const xmlChar* local, const xmlChar*, const xmlChar*) {
    auto* stream = static_cast<XmlStream*>(self);
    if (!stream->m_open.empty()) {
        stream->closeInTree();
        return;
    }
    if (!stream->m_path.empty()) {
        stream->m_path.pop_back();
    }
    stream->push(Token::EndElement, stream->nameOf(local), stream->parserLine());
}

void XmlStream::characters(void* self, const xmlChar* value, int length) {
    text(self, value, length, false);
}

void XmlStream::cdata(void* self, const xmlChar* value, int length) {
    text(self, value, length, true);
}

void XmlStream::text(void* self, const xmlChar* value, int length, bool cdata) {
    auto* stream = static_cast<XmlStream*>(self);
    const bool layout = !cdata && layoutOnly(value, length);
    if (!stream->m_open.empty()) {
        XmlStream::Open& open = stream->m_open.back();
        if (open.node->children.empty()) {
            open.node->text += utf8Text(value, length);
        } else {
            open.pending += utf8Text(value, length);
            open.pendingIsText = open.pendingIsText || !layout;
        }
        return;
    }
    stream->push(Token::Other, {}, stream->parserLine());
    stream->m_events.back().text = utf8Text(value, length);
    stream->m_events.back().layout = layout;
}

void XmlStream::declaration(void* self, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* stream = static_cast<XmlStream*>(self);
    stream->push(Token::Other, {}, stream->parserLine());
    stream->m_events.back().doctype = true;
    xmlStopParser(stream->m_context.get());
}

void XmlStream::noteError(void* self, xmlError* error) {
    auto* stream = static_cast<XmlStream*>(self);
    if (stream->m_errorCode == 0 && error != nullptr && error->level >= XML_ERR_ERROR) {
        stream->m_errorCode = error->code;
        stream->m_errorLine = error->line;
        stream->m_errorColumn = error->int2;
    }
}

void XmlStream::failTooDeep(int line) const {
    fail(QStringLiteral("ma zbyt głęboko zagnieżdżone elementy (wiersz %1).").arg(line));
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
