// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A document read by libxml2's SAX2 push parser, for large files: a handler hears each element's
// start and end and its character data as the parser meets them, with no tree in between.
// DOCTYPE and entity declarations are refused, nothing is ever loaded from the network or
// another file, and malformed or truncated XML throws ImportError naming `what` (the format)
// and the line.

#include "TextDecoding.h"

#include <QByteArray>
#include <QString>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct _xmlParserCtxt;
struct _xmlError;

class XmlSaxReader {
public:
    // The attributes of one start tag, valid during the call that gives them.
    class Attributes {
    public:
        Attributes(const unsigned char** values, int count) : m_values(values), m_count(count) {}
        // The UTF-8 value of the attribute with that local name; empty when there is none.
        std::string_view value(std::string_view local) const;

    private:
        const unsigned char** m_values;  // five pointers each: local, prefix, URI, start, end
        int m_count;
    };

    class Handler {
    public:
        virtual ~Handler() = default;
        // `name` is the place of the element's local name in the reader's names, or -1.
        virtual void started(int name, int line, const Attributes& attributes) = 0;
        virtual void ended() = 0;
        // Character data in UTF-8, in as many pieces as the parser gives.
        virtual void text(std::string_view piece) = 0;
    };

    // The bytes must outlive it. `names`: the local names the handler tells apart.
    XmlSaxReader(const std::string& bytes, const char* what, std::optional<TextEncoding> encoding,
                 std::vector<std::string_view> names);
    ~XmlSaxReader();
    XmlSaxReader(const XmlSaxReader&) = delete;
    XmlSaxReader& operator=(const XmlSaxReader&) = delete;

    // Gives the whole document to the handler. What the handler throws comes out of here, once
    // the parser has returned.
    void read(Handler& handler);

private:
    static constexpr size_t kKnownSlots = 1024;
    struct Free {
        void operator()(_xmlParserCtxt* context) const;
    };

    int nameOf(const unsigned char* local);
    int parserLine() const;
    void stop(std::exception_ptr failure);
    template <typename Call>
    static void guarded(void* self, Call call);
    static void started(void* self, const unsigned char* local, const unsigned char*,
                        const unsigned char*, int, const unsigned char**, int attributeCount, int,
                        const unsigned char** attributes);
    static void ended(void* self, const unsigned char*, const unsigned char*, const unsigned char*);
    static void characters(void* self, const unsigned char* text, int length);
    static void declaration(void* self, const unsigned char*, const unsigned char*,
                            const unsigned char*);
    static void noteError(void* self, _xmlError* error);
    [[noreturn]] void fail(const QString& what) const;
    [[noreturn]] void failParsing() const;

    QByteArray m_converted;  // the document in UTF-8 when it came in another code page
    const char* m_data = nullptr;
    size_t m_size = 0;
    const char* m_what;
    std::vector<std::string_view> m_wanted;
    std::unique_ptr<_xmlParserCtxt, Free> m_context;
    Handler* m_handler = nullptr;
    // libxml2 keeps each name once for the whole document: matched once, by its address, and
    // found again in a small table of addresses (open addressing; a document has few names).
    struct Known {
        const unsigned char* local = nullptr;
        int name = -1;
    };
    std::vector<Known> m_known = std::vector<Known>(kKnownSlots);
    size_t m_knownCount = 0;
    int m_depth = 0;
    std::exception_ptr m_failure;  // the first failure met inside the parser's call
    int m_errorCode = 0;           // libxml2's first error
    int m_errorDomain = 0;
    int m_errorLine = 0;
    int m_errorColumn = 0;
};
