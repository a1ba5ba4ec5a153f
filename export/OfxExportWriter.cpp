// SPDX-License-Identifier: GPL-3.0-or-later
#include "OfxExportWriter.h"

#include "ExportLineEnd.h"
#include "XmlExportWriter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

const char* const kHeader[] = {"OFXHEADER:100",    "DATA:OFXSGML",    "VERSION:102",
                               "SECURITY:NONE",    "ENCODING:UTF-8",  "CHARSET:NONE",
                               "COMPRESSION:NONE", "OLDFILEUID:NONE", "NEWFILEUID:NONE"};

// The kinds the bank module sets (t_class) that OFX has a type for.
struct KindType {
    int32_t kind;
    const char* type;
};
const KindType kKindTypes[] = {
    {9, "POS"},    // card payment
    {10, "ATM"},   // cash machine withdrawal
    {14, "ATM"},   // cash machine deposit
    {4, "FEE"},    // stamp duty
    {7, "FEE"},    // transfer fee
    {11, "FEE"},   // cash machine commission
    {12, "FEE"},   // card fee
    {15, "FEE"},   // other fees
    {21, "FEE"},   // SMS notifications
    {5, "INT"},    // interest correction
    {6, "INT"},    // interest
    {1, "XFER"},   // incoming transfer
    {3, "XFER"},   // outgoing transfer
    {13, "XFER"},  // phone top-up, an outgoing transfer to the operator
    {16, "XFER"},  // cancelled transfer
    {17, "XFER"},  // auction service payment, an outgoing transfer
    {18, "XFER"},  // credit card repayment
    {22, "XFER"},  // transfer from a credit card
};

class Lines {
public:
    void add(const std::string& line) {
        m_text += line;
        m_text += kExportLineEnd;
    }
    void leaf(const char* tag, const std::string& value) {
        add(std::string("<") + tag + ">" + value);
    }
    void open(const char* tag) { add(std::string("<") + tag + ">"); }
    void close(const char* tag) { add(std::string("</") + tag + ">"); }
    void status() {
        open("STATUS");
        leaf("CODE", "0");
        leaf("SEVERITY", "INFO");
        close("STATUS");
    }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

std::string utf8(const std::u16string& text) {
    return XmlExportWriter::ToUtf8(text);
}

void transaction(Lines& out, const StoredOperation& op) {
    out.open("STMTTRN");
    out.leaf("TRNTYPE", OfxExportWriter::TransactionType(op));
    out.leaf("DTPOSTED", OfxExportWriter::FormatDateTime(op.bookingDate));
    out.leaf("DTUSER", OfxExportWriter::FormatDateTime(op.operationDate));
    out.leaf("TRNAMT", OfxExportWriter::FormatAmount(op.amount));
    out.leaf("FITID", OfxExportWriter::Text(OfxExportWriter::FitId(op)));
    // Both are optional; an empty element would be an error to strict readers.
    const std::string name =
        OfxExportWriter::Text(op.counterpartyName, OfxExportWriter::kNameLength);
    if (!name.empty()) {
        out.leaf("NAME", name);
    }
    const std::string memo = OfxExportWriter::Text(op.title);
    if (!memo.empty()) {
        out.leaf("MEMO", memo);
    }
    out.close("STMTTRN");
}

// The running total of the operations in whole grosze, so float noise does not add up.
double total(const std::vector<StoredOperation>& ops) {
    long double cents = 0;
    for (const StoredOperation& op : ops) {
        cents += std::nearbyint(static_cast<long double>(op.amount) * 100);
    }
    return static_cast<double>(cents / 100);
}

}  // namespace

std::string OfxExportWriter::Document(const std::u16string& account,
                                      const std::vector<StoredOperation>& ops, int64_t serverTime) {
    int64_t first = serverTime, last = serverTime;
    if (!ops.empty()) {
        const auto [low, high] = std::minmax_element(
            ops.begin(), ops.end(),
            [](const auto& a, const auto& b) { return a.bookingDate < b.bookingDate; });
        first = low->bookingDate;
        last = high->bookingDate;
    }
    Lines out;
    for (const char* line : kHeader) {
        out.add(line);
    }
    out.add("");
    out.open("OFX");
    out.open("SIGNONMSGSRSV1");
    out.open("SONRS");
    out.status();
    out.leaf("DTSERVER", FormatDateTime(serverTime));
    out.leaf("LANGUAGE", "POL");
    out.close("SONRS");
    out.close("SIGNONMSGSRSV1");
    out.open("BANKMSGSRSV1");
    out.open("STMTTRNRS");
    out.leaf("TRNUID", "1");
    out.status();
    out.open("STMTRS");
    out.leaf("CURDEF", "PLN");
    out.open("BANKACCTFROM");
    // Digits 3..10 of an account number are the bank's routing number.
    out.leaf("BANKID", Text(account.substr(std::min<size_t>(2, account.size()), 8)));
    out.leaf("ACCTID", Text(account));
    out.leaf("ACCTTYPE", "CHECKING");
    out.close("BANKACCTFROM");
    out.open("BANKTRANLIST");
    out.leaf("DTSTART", FormatDateTime(first));
    out.leaf("DTEND", FormatDateTime(last));
    for (const StoredOperation& op : ops) {
        transaction(out, op);
    }
    out.close("BANKTRANLIST");
    // The bank's own balance is not known here: the total of the exported operations is what
    // an account that starts empty with this file holds at its end.
    out.open("LEDGERBAL");
    out.leaf("BALAMT", FormatAmount(total(ops)));
    out.leaf("DTASOF", FormatDateTime(last));
    out.close("LEDGERBAL");
    out.close("STMTRS");
    out.close("STMTTRNRS");
    out.close("BANKMSGSRSV1");
    out.close("OFX");
    return out.take();
}

const char* OfxExportWriter::TransactionType(const StoredOperation& op) {
    for (const KindType& entry : kKindTypes) {
        if (entry.kind == op.kind) {
            return entry.type;
        }
    }
    // The sign of the amount as written, so a rounded-away fraction is no debit.
    return FormatAmount(op.amount).front() == '-' ? "DEBIT" : "CREDIT";
}

std::u16string OfxExportWriter::FitId(const StoredOperation& op) {
    const std::string tid = std::to_string(op.tid);
    return op.ownAccount + u"-" + std::u16string(tid.begin(), tid.end());
}

std::string OfxExportWriter::FormatDateTime(int64_t seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        t = 0;
        gmtime_r(&t, &local);
    }
    const long offset = local.tm_gmtoff;
    // The format counts the offset in whole hours; a zone that does not is written in UTC.
    if (offset % 3600 != 0) {
        gmtime_r(&t, &local);
        local.tm_gmtoff = 0;
        local.tm_zone = "UTC";
    }
    char stamp[64];
    const size_t length = std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local);
    std::string out(stamp, length);
    const long hours = local.tm_gmtoff / 3600;
    out += "[";
    out += hours < 0 ? "-" : "+";
    out += std::to_string(std::labs(hours));
    const std::string zone = local.tm_zone ? local.tm_zone : "";
    if (!zone.empty() && std::all_of(zone.begin(), zone.end(),
                                     [](unsigned char c) { return std::isalpha(c) != 0; })) {
        out += ":" + zone;
    }
    out += "]";
    return out;
}

std::string OfxExportWriter::FormatAmount(double amount) {
    const double scaled = amount * 100;
    const double rounded = std::isfinite(scaled) ? std::round(scaled) / 100 : amount;
    const double value = rounded == 0 ? 0.0 : rounded;  // also turns -0 into 0
    const int length = std::snprintf(nullptr, 0, "%.2f", value);
    if (length <= 0) {
        return "0.00";
    }
    std::string out(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(out.data(), out.size(), "%.2f", value);
    out.resize(static_cast<size_t>(length));
    return out;
}

std::string OfxExportWriter::Text(const std::u16string& text, size_t maxLength) {
    std::u16string cut;
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (maxLength != 0 && characters == maxLength) {
            break;
        }
        const char16_t c = text[i];
        ++characters;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cut += c;
            cut += text[++i];
        } else if (c < 0x20 || c == 0x7F) {
            // One operation is one line per element; a line end would end the value.
            cut += u' ';
        } else if (c == u'&') {
            cut += u"&amp;";
        } else if (c == u'<') {
            cut += u"&lt;";
        } else if (c == u'>') {
            cut += u"&gt;";
        } else {
            cut += c;
        }
    }
    return utf8(cut);
}
