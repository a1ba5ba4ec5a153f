#pragma once
// The program's own XML export format, written without any window so that tests and the fuzz
// target can drive it directly.

#include "StoredOperation.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Streams "<operations>", one block per operation and "</operations>" (UTF-8, no byte-order
// mark, CR LF line ends, tab indentation, single-quoted attributes).
class XmlExportWriter {
public:
    explicit XmlExportWriter(std::ostream& out) : m_out(out) {}

    void begin();
    void write(const StoredOperation& op);
    void end();

    // The whole document for a sequence of operations.
    static std::string Document(const std::vector<StoredOperation>& ops);

    // "&" first, then "<", "\"", ">" and "'"; tab, LF and CR as character references; characters
    // that XML 1.0 cannot carry at all (control characters, lone surrogates, U+FFFE, U+FFFF) become
    // U+FFFD so the file always parses.
    static std::u16string Escape(const std::u16string& text);
    // UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
    static std::string ToUtf8(const std::u16string& text);
    // Local calendar date "%d-%m-%Y"; empty when the value is outside the calendar.
    static std::string FormatDate(int64_t seconds);
    // "%.2f" with a decimal comma, minus sign for negative values.
    static std::string FormatAmount(double amount);

private:
    void line(const std::string& text);
    std::string text(const std::u16string& value) const;

    std::ostream& m_out;
};
