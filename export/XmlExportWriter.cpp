// SPDX-License-Identifier: GPL-3.0-or-later
#include "XmlExportWriter.h"

#include "ExportLineEnd.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sstream>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// XML 1.0 allows tab, LF, CR and everything from U+0020 up except U+FFFE and U+FFFF.
bool isXmlChar(char16_t c) {
    if (c < 0x20) {
        return c == u'\t' || c == u'\n' || c == u'\r';
    }
    return c != 0xFFFE && c != 0xFFFF;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

void XmlExportWriter::begin() {
    line("<operations>");
}

void XmlExportWriter::write(const StoredOperation& op) {
    line("\t<operation id='" + std::to_string(op.tid) + "' account='" + text(op.ownAccount) + "'>");
    line("\t\t<account>" + text(op.counterpartyAccount) + "</account>");
    line("\t\t<date1>" + FormatDate(op.operationDate) + "</date1>");
    line("\t\t<date2>" + FormatDate(op.bookingDate) + "</date2>");
    line("\t\t<name>" + text(op.counterpartyName) + "</name>");
    line("\t\t<io>" + std::to_string(op.direction) + "</io>");
    line("\t\t<class>" + std::to_string(op.kind) + "</class>");
    line("\t\t<description>" + text(op.title) + "</description>");
    line("\t\t<amount>" + FormatAmount(op.amount) + "</amount>");
    line("\t</operation>");
}

void XmlExportWriter::end() {
    m_out << "</operations>";
}

std::string XmlExportWriter::Document(const std::vector<StoredOperation>& ops) {
    std::ostringstream out;
    XmlExportWriter writer(out);
    writer.begin();
    for (const StoredOperation& op : ops) {
        writer.write(op);
    }
    writer.end();
    return out.str();
}

std::u16string XmlExportWriter::Escape(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        switch (c) {
            case u'&':
                out += u"&amp;";
                continue;
            case u'<':
                out += u"&lt;";
                continue;
            case u'"':
                out += u"&quot;";
                continue;
            case u'>':
                out += u"&gt;";
                continue;
            case u'\'':
                out += u"&apos;";
                continue;
            // A reader turns raw line ends into "\n" and, inside an attribute, tabs and line
            // ends into spaces; as references they read back as written.
            case u'\t':
                out += u"&#9;";
                continue;
            case u'\n':
                out += u"&#10;";
                continue;
            case u'\r':
                out += u"&#13;";
                continue;
            default:
                break;
        }
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            out += c;
            out += text[++i];
        } else if (isHighSurrogate(c) || isLowSurrogate(c) || !isXmlChar(c)) {
            out += kReplacement;
        } else {
            out += c;
        }
    }
    return out;
}

std::string XmlExportWriter::ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[++i] - 0xDC00);
            appendUtf8(out, cp);
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

std::string XmlExportWriter::FormatDate(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return {};
    }
    char buffer[64];
    const size_t length = std::strftime(buffer, sizeof buffer, "%d-%m-%Y", &local);
    return std::string(buffer, length);
}

std::string XmlExportWriter::FormatAmount(double amount) {
    char buffer[512];
    const int length = std::snprintf(buffer, sizeof buffer, "%.2f", amount);
    if (length <= 0) {
        return {};
    }
    std::string out(buffer, std::min<size_t>(static_cast<size_t>(length), sizeof buffer - 1));
    for (char& c : out) {
        if (c == '.') {
            c = ',';
        }
    }
    return out;
}

void XmlExportWriter::line(const std::string& text) {
    m_out << text << kExportLineEnd;
}

std::string XmlExportWriter::text(const std::u16string& value) const {
    return ToUtf8(Escape(value));
}
