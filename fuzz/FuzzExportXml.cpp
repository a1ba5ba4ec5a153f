// Any UTF-16 texts in every text field of the export: the document is well-formed XML and each
// field reads back as its text (characters XML cannot carry at all read back as U+FFFD).
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "XmlExportWriter.h"

namespace {

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct XmlFree {
    void operator()(xmlChar* text) const { xmlFree(text); }
};

bool xmlChar16(char16_t c) {
    return c >= 0x20 ? c != 0xFFFE && c != 0xFFFF : (c == u'\t' || c == u'\n' || c == u'\r');
}

// The text as it must come back: pairs of surrogates kept, anything else XML cannot hold
// replaced.
std::u16string readable(const std::u16string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out += c;
            out += text[++i];
        } else if (high || low || !xmlChar16(c)) {
            out += char16_t{0xFFFD};
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::u16string> splitTexts(const uint8_t* data, size_t size, size_t count) {
    std::vector<std::u16string> texts(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        // U+FFFF never stays in a text (it reads back as U+FFFD), so it separates the fields.
        if (c == 0xFFFF && texts.size() < count) {
            texts.emplace_back();
        } else {
            texts.back() += c;
        }
    }
    texts.resize(count);
    return texts;
}

std::string content(xmlNode* node) {
    std::unique_ptr<xmlChar, XmlFree> text(xmlNodeGetContent(node));
    return text ? reinterpret_cast<const char*>(text.get()) : std::string();
}

std::string attribute(xmlNode* node, const char* name) {
    std::unique_ptr<xmlChar, XmlFree> text(
        xmlGetProp(node, reinterpret_cast<const xmlChar*>(name)));
    FUZZ_CHECK(text != nullptr, "attribute present");
    return reinterpret_cast<const char*>(text.get());
}

std::map<std::string, std::string> children(xmlNode* operation) {
    std::map<std::string, std::string> out;
    for (xmlNode* n = operation->children; n; n = n->next) {
        if (n->type == XML_ELEMENT_NODE) {
            out[reinterpret_cast<const char*>(n->name)] = content(n);
        }
    }
    return out;
}

void quietErrors(void*, const char*, ...) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto texts = splitTexts(data, size, 8);
    std::vector<StoredOperation> ops(2);
    for (size_t i = 0; i < ops.size(); ++i) {
        ops[i].tid = static_cast<int32_t>(size * 7919 + i) * (i ? -1 : 1);
        ops[i].ownAccount = texts[i * 4];
        ops[i].counterpartyAccount = texts[i * 4 + 1];
        ops[i].counterpartyName = texts[i * 4 + 2];
        ops[i].title = texts[i * 4 + 3];
        ops[i].operationDate = static_cast<int64_t>(size) * 86400 * (i ? -37 : 1);
        ops[i].bookingDate = ops[i].operationDate + 86400;
        ops[i].amount = (i ? -1.0 : 1.0) * static_cast<double>(size) * 12345.678;
    }
    const std::string document = XmlExportWriter::Document(ops);

    std::unique_ptr<xmlDoc, DocFree> doc(
        xmlReadMemory(document.data(), static_cast<int>(document.size()), "export.xml", "UTF-8",
                      XML_PARSE_NONET | XML_PARSE_NOBLANKS));
    FUZZ_CHECK(doc != nullptr, "the export is well-formed XML");
    xmlNode* root = xmlDocGetRootElement(doc.get());
    FUZZ_CHECK(root && std::strcmp(reinterpret_cast<const char*>(root->name), "operations") == 0,
               "root element <operations>");
    size_t index = 0;
    for (xmlNode* n = root->children; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) {
            continue;
        }
        FUZZ_CHECK(index < ops.size(), "one <operation> per operation");
        const StoredOperation& op = ops[index++];
        using W = XmlExportWriter;
        FUZZ_CHECK(attribute(n, "id") == std::to_string(op.tid), "id reads back");
        FUZZ_CHECK(attribute(n, "account") == W::ToUtf8(readable(op.ownAccount)),
                   "own account reads back");
        auto fields = children(n);
        FUZZ_CHECK(fields["account"] == W::ToUtf8(readable(op.counterpartyAccount)),
                   "counterparty account reads back");
        FUZZ_CHECK(fields["name"] == W::ToUtf8(readable(op.counterpartyName)), "name reads back");
        FUZZ_CHECK(fields["description"] == W::ToUtf8(readable(op.title)),
                   "description reads back");
        FUZZ_CHECK(fields["amount"] == W::FormatAmount(op.amount), "amount");
        FUZZ_CHECK(fields["date1"] == W::FormatDate(op.operationDate), "date1");
    }
    FUZZ_CHECK(index == ops.size(), "every operation is there");
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "Europe/Warsaw", 0);
    tzset();
    xmlInitParser();
    xmlSetGenericErrorFunc(nullptr, quietErrors);
    return 0;
}
