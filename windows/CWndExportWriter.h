#pragma once
// The program's own XML export format, written without any window so that tests and the fuzz
// target can drive it directly.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// One operation as the export needs it (a copy of the main window's in-memory record).
struct ExportOperation {
    int32_t tid = 0;                     // t_tid
    std::u16string ownAccount;           // t_to_acc
    std::u16string counterpartyAccount;  // t_from_acc
    int64_t operationDate = 0;           // t_date1, seconds since 1970 UTC
    int64_t bookingDate = 0;             // t_date2
    std::u16string counterpartyName;     // t_from_name
    int32_t direction = 0;               // t_tio
    int32_t kind = 0;                    // t_class
    std::u16string title;                // t_desc
    double amount = 0.0;                 // t_amount
};

// Streams "<operations>", one block per operation and "</operations>" (UTF-8, no byte-order
// mark, CR LF line ends, tab indentation, single-quoted attributes).
class CWndExportWriter {
public:
    explicit CWndExportWriter(std::ostream& out) : m_out(out) {}

    void begin();
    void write(const ExportOperation& op);
    void end();

    // The whole document for a sequence of operations.
    static std::string Document(const std::vector<ExportOperation>& ops);

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
