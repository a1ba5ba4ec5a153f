// SPDX-License-Identifier: GPL-3.0-or-later
#include "XmlSaxReader.h"

#include "ImportError.h"
#include "XmlTree.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>

namespace {

// The parser is given the file a piece at a time, so the file is never held twice.
constexpr size_t kParserPiece = 64 * 1024;
// Deeper than any statement format nests.
constexpr int kDeepest = 64;

void silent(void*, const char*, ...) {}

// libxml2 writes some faults (a code page it cannot convert) to standard error whatever the
// parser's options; they are reported as the parser's error instead.
class QuietErrors {
public:
    QuietErrors() : m_function(xmlGenericError), m_context(xmlGenericErrorContext) {
        xmlSetGenericErrorFunc(nullptr, &silent);
    }
    ~QuietErrors() { xmlSetGenericErrorFunc(m_context, m_function); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    xmlGenericErrorFunc m_function;
    void* m_context;
};

}  // namespace

std::string_view XmlSaxReader::Attributes::value(std::string_view local) const {
    for (int i = 0; i < m_count; ++i) {
        const unsigned char** attribute = m_values + 5 * i;
        if (reinterpret_cast<const char*>(attribute[0]) == local) {
            return {reinterpret_cast<const char*>(attribute[3]),
                    size_t(attribute[4] - attribute[3])};
        }
    }
    return {};
}

void XmlSaxReader::Free::operator()(_xmlParserCtxt* context) const {
    xmlFreeParserCtxt(context);
}

XmlSaxReader::XmlSaxReader(const std::string& bytes, const char* what,
                           std::optional<TextEncoding> encoding,
                           std::vector<std::string_view> names)
    : m_data(bytes.data()), m_size(bytes.size()), m_what(what), m_wanted(std::move(names)) {
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
    handler.startElementNs = &XmlSaxReader::started;
    handler.endElementNs = &XmlSaxReader::ended;
    handler.characters = &XmlSaxReader::characters;
    handler.ignorableWhitespace = &XmlSaxReader::characters;
    handler.cdataBlock = &XmlSaxReader::characters;
    handler.internalSubset = &XmlSaxReader::declaration;
    handler.externalSubset = &XmlSaxReader::declaration;
    handler.serror = &XmlSaxReader::noteError;
    // The first bytes tell the parser the code page the file is in.
    const QuietErrors quiet;
    const int first = int(std::min<size_t>(4, m_size));
    m_context.reset(xmlCreatePushParserCtxt(&handler, this, m_data, first, nullptr));
    if (!m_context) {
        fail(QStringLiteral("nie daje się czytać."));
    }
    xmlCtxtUseOptions(m_context.get(), options);
}

XmlSaxReader::~XmlSaxReader() = default;

void XmlSaxReader::read(Handler& handler) {
    const QuietErrors quiet;
    m_handler = &handler;
    size_t fed = std::min<size_t>(4, m_size);
    bool ended = false;
    while (!ended && !m_failure && m_errorCode == 0) {
        const size_t piece = std::min(kParserPiece, m_size - fed);
        ended = fed + piece == m_size;
        xmlParseChunk(m_context.get(), m_data + fed, int(piece), ended ? 1 : 0);
        fed += piece;
    }
    m_handler = nullptr;
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
    if (m_errorCode != 0) {
        failParsing();
    }
}

int XmlSaxReader::nameOf(const unsigned char* local) {
    size_t slot = (reinterpret_cast<uintptr_t>(local) >> 3) % kKnownSlots;
    while (m_known[slot].local != nullptr && m_known[slot].local != local) {
        slot = (slot + 1) % kKnownSlots;
    }
    Known& known = m_known[slot];
    if (known.local == nullptr) {
        const std::string_view name(reinterpret_cast<const char*>(local));
        const auto wanted = std::find(m_wanted.begin(), m_wanted.end(), name);
        const int index = wanted == m_wanted.end() ? -1 : int(wanted - m_wanted.begin());
        // A document of very many names is refused long before: the table keeps a free slot.
        if (m_knownCount + 1 >= kKnownSlots) {
            return index;
        }
        known = {local, index};
        ++m_knownCount;
    }
    return known.name;
}

int XmlSaxReader::parserLine() const {
    const xmlParserCtxt* context = m_context.get();
    return context && context->input ? context->input->line : 0;
}

void XmlSaxReader::stop(std::exception_ptr failure) {
    if (!m_failure) {
        m_failure = std::move(failure);
    }
    xmlStopParser(m_context.get());
}

// Nothing may be thrown through libxml2's own frames: a failure stops the parser, and read()
// throws it once the parser has returned.
template <typename Call>
void XmlSaxReader::guarded(void* self, Call call) {
    auto* reader = static_cast<XmlSaxReader*>(self);
    if (reader->m_failure) {
        return;
    }
    try {
        call(*reader);
    } catch (...) {
        reader->stop(std::current_exception());
    }
}

void XmlSaxReader::started(void* self, const xmlChar* local, const xmlChar*, const xmlChar*, int,
                           const xmlChar**, int attributeCount, int, const xmlChar** attributes) {
    guarded(self, [&](XmlSaxReader& reader) {
        if (++reader.m_depth > kDeepest) {
            reader.fail(QStringLiteral("ma zbyt głęboko zagnieżdżone elementy (wiersz %1).")
                            .arg(reader.parserLine()));
        }
        reader.m_handler->started(reader.nameOf(local), reader.parserLine(),
                                  Attributes(attributes, attributeCount));
    });
}

void XmlSaxReader::ended(void* self, const xmlChar*, const xmlChar*, const xmlChar*) {
    guarded(self, [](XmlSaxReader& reader) {
        --reader.m_depth;
        reader.m_handler->ended();
    });
}

void XmlSaxReader::characters(void* self, const xmlChar* value, int length) {
    guarded(self, [&](XmlSaxReader& reader) {
        reader.m_handler->text({reinterpret_cast<const char*>(value), size_t(length)});
    });
}

void XmlSaxReader::declaration(void* self, const xmlChar*, const xmlChar*, const xmlChar*) {
    guarded(self, [](XmlSaxReader& reader) {
        reader.fail(QStringLiteral("zawiera deklarację DOCTYPE lub encji (wiersz %1); takiego "
                                   "pliku Tavro nie czyta.")
                        .arg(reader.parserLine()));
    });
}

void XmlSaxReader::noteError(void* self, xmlError* error) {
    auto* reader = static_cast<XmlSaxReader*>(self);
    if (reader->m_errorCode == 0 && error != nullptr && error->level >= XML_ERR_ERROR) {
        reader->m_errorCode = error->code;
        reader->m_errorDomain = error->domain;
        reader->m_errorLine = error->line;
        reader->m_errorColumn = error->int2;
    }
}

void XmlSaxReader::fail(const QString& what) const {
    throw ImportError(
        (QStringLiteral("Plik ") + QLatin1String(m_what) + u' ' + what).toStdString());
}

void XmlSaxReader::failParsing() const {
    // A file cut short fails where its bytes end; bytes not of the file's code page are damage
    // wherever they are (libxml2 notes those on its input, and may report only what follows).
    const xmlParserInput* input = m_context ? m_context->input : nullptr;
    const bool bytes = m_errorDomain == XML_FROM_IO || m_errorDomain == XML_FROM_I18N ||
                       (input && input->buf && input->buf->error != 0);
    const bool cut =
        !bytes && (m_errorCode == XML_ERR_DOCUMENT_END || m_errorCode == XML_ERR_DOCUMENT_EMPTY ||
                   m_errorCode == XML_ERR_TAG_NOT_FINISHED ||
                   m_errorLine >= int(std::count(m_data, m_data + m_size, '\n')));
    fail(QStringLiteral("jest %1 (wiersz %2, kolumna %3).")
             .arg(cut ? QStringLiteral("niepełny") : QStringLiteral("uszkodzony"))
             .arg(m_errorLine)
             .arg(m_errorColumn));
}
