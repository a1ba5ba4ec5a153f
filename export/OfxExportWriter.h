#pragma once
// OFX 1.0.2 in its SGML form, the lowest form every OFX importer reads: one statement of one
// account per file. Pure over the rows, like the XML writer.

#include "StoredOperation.h"

#include <cstdint>
#include <string>
#include <vector>

class OfxExportWriter {
public:
    // Longest payee name the format allows.
    static constexpr size_t kNameLength = 32;

    // The whole file: header, sign-on answer and the statement of `account` holding `ops` in
    // their order (each of them should belong to that account). `serverTime` is the moment of
    // the export; it also stands for the statement's period when there are no operations.
    static std::string Document(const std::u16string& account,
                                const std::vector<StoredOperation>& ops, int64_t serverTime);

    // POS, ATM, FEE, INT, XFER from the operation's kind, otherwise CREDIT or DEBIT by the sign.
    static const char* TransactionType(const StoredOperation& op);
    // "<own account number>-<bank's operation number>": the pair that identifies an operation
    // in the database, so it is the same in every export and unique across accounts.
    static std::u16string FitId(const StoredOperation& op);
    // Local time "YYYYMMDDHHMMSS[+1:CET]" with the offset of that day.
    static std::string FormatDateTime(int64_t seconds);
    // Signed, two decimals, dot: "-12.50"; never "-0.00".
    static std::string FormatAmount(double amount);
    // Element content: line ends and other control characters become spaces, the text is cut
    // to `maxLength` characters when that is not zero, "&", "<" and ">" are escaped; UTF-8.
    static std::string Text(const std::u16string& text, size_t maxLength = 0);
};
