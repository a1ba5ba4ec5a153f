// SPDX-License-Identifier: GPL-3.0-or-later
#include "CamtReader.h"

#include "ImportError.h"
#include "KindCodes.h"
#include "StatementValues.h"
#include "XmlStream.h"
#include "XmlTree.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr const char* kWhat = "camt.053";

[[noreturn]] void fail(const XmlNode& node, const QString& what) {
    throw ImportError(QStringLiteral("Plik camt.053, element %1 w wierszu %2: %3")
                          .arg(node.name)
                          .arg(node.line)
                          .arg(what)
                          .toStdString());
}

// Dt or DtTm inside the node: the day as written.
int64_t dateIn(const XmlNode& node) {
    QString written = node.textAt(u"Dt");
    if (written.isEmpty()) {
        written = node.textAt(u"DtTm");
    }
    const auto day = StatementValues::IsoDay(written);
    if (!day) {
        fail(node, QStringLiteral("brak daty albo data nieczytelna („%1”).").arg(written));
    }
    return *day;
}

QString accountIn(const XmlNode* account) {
    if (account == nullptr) {
        return {};
    }
    const QString iban = account->textAt(u"Id/IBAN");
    return iban.isEmpty() ? account->textAt(u"Id/Othr/Id") : iban;
}

class StatementReader {
public:
    explicit StatementReader(Statement& statement) : m_statement(statement) {}

    void account(const XmlNode& node) {
        m_statement.account = accountIn(&node).toStdU16String();
        m_statement.currency = node.textAt(u"Ccy").toStdU16String();
    }

    void balance(const XmlNode& node) {
        QString code = node.textAt(u"Tp/CdOrPrtry/Cd");
        if (code.isEmpty()) {
            code = node.textAt(u"Tp/Cd");
        }
        const int64_t amount = signedAmount(node, node.textAt(u"CdtDbtInd"));
        if (code == u"OPBD" || (code == u"PRCD" && !m_opening)) {
            m_statement.openingBalance = amount;
            if (const XmlNode* date = node.child(u"Dt")) {
                m_statement.periodFrom = dateIn(*date);
            }
            m_opening = code == u"OPBD";
        } else if (code == u"CLBD") {
            m_statement.closingBalance = amount;
            if (const XmlNode* date = node.child(u"Dt")) {
                m_statement.periodTo = dateIn(*date);
            }
        }
    }

    void entry(const XmlNode& node) {
        const XmlNode* booking = node.child(u"BookgDt");
        if (booking == nullptr) {
            fail(node, QStringLiteral("pozycja bez daty księgowania (BookgDt)."));
        }
        const XmlNode* value = node.child(u"ValDt");
        StatementOperation base;
        base.bookingDate = dateIn(*booking);
        base.operationDate = value ? dateIn(*value) : base.bookingDate;
        QString status = node.textAt(u"Sts/Cd");
        if (status.isEmpty()) {
            status = node.textAt(u"Sts");
        }
        base.booked = status.compare(u"BOOK", Qt::CaseInsensitive) == 0;
        QString reference = node.textAt(u"AcctSvcrRef");
        if (reference.isEmpty()) {
            reference = node.textAt(u"NtryRef");
        }
        const QString indicator = node.textAt(u"CdtDbtInd");
        const int64_t total = signedAmount(node, indicator);

        std::vector<const XmlNode*> details;
        for (const XmlNode* group : node.all(u"NtryDtls")) {
            for (const XmlNode* one : group->all(u"TxDtls")) {
                details.push_back(one);
            }
        }
        // Made in place: a failure ends the whole file, so a half-made operation is never kept.
        if (details.size() <= 1) {
            StatementOperation& op = m_statement.operations.emplace_back(base);
            setAmount(op, total);
            describe(op, node, details.empty() ? nullptr : details.front());
            op.fileId = reference.toStdU16String();
            return;
        }
        int64_t sum = 0;
        for (size_t i = 0; i < details.size(); ++i) {
            StatementOperation& op = m_statement.operations.emplace_back(base);
            const XmlNode& one = *details[i];
            const QString ownIndicator = one.textAt(u"CdtDbtInd");
            const XmlNode* amount = one.at(u"AmtDtls/TxAmt/Amt");
            if (amount == nullptr) {
                amount = one.child(u"Amt");
            }
            if (amount == nullptr) {
                fail(one, QStringLiteral("pozycja paczki bez kwoty (AmtDtls/TxAmt/Amt)."));
            }
            setAmount(op, signedValue(*amount, ownIndicator.isEmpty() ? indicator : ownIndicator));
            sum += op.amount;
            describe(op, node, &one);
            if (!reference.isEmpty()) {
                op.fileId = (reference + u'/' + QString::number(i + 1)).toStdU16String();
            }
        }
        if (sum != total) {
            fail(node, QStringLiteral("kwoty pozycji paczki (%1) nie dają kwoty pozycji (%2).")
                           .arg(StatementValues::FormatGrosze(sum),
                                StatementValues::FormatGrosze(total)));
        }
    }

private:
    int64_t signedAmount(const XmlNode& node, const QString& indicator) {
        const XmlNode* amount = node.child(u"Amt");
        if (amount == nullptr) {
            fail(node, QStringLiteral("brak kwoty (Amt)."));
        }
        return signedValue(*amount, indicator);
    }

    int64_t signedValue(const XmlNode& amount, const QString& indicator) {
        const auto value = StatementValues::Grosze(amount.text);
        if (!value || *value < 0) {
            fail(amount, QStringLiteral("nieczytelna kwota („%1”).").arg(amount.text.trimmed()));
        }
        if (indicator != u"CRDT" && indicator != u"DBIT") {
            fail(amount, QStringLiteral("brak znaku kwoty (CdtDbtInd: „%1”).").arg(indicator));
        }
        checkCurrency(amount);
        return indicator == u"DBIT" ? -*value : *value;
    }

    void checkCurrency(const XmlNode& amount) {
        const QStringView currency = amount.attributes.value(QLatin1StringView("Ccy")).trimmed();
        if (currency.isEmpty()) {
            return;
        }
        if (m_statement.currency.empty()) {
            m_statement.currency = currency.toString().toStdU16String();
        } else if (currency != QStringView(m_statement.currency)) {
            fail(amount,
                 QStringLiteral("kwota w walucie %1 na rachunku w %2.")
                     .arg(currency.toString(), QString::fromStdU16String(m_statement.currency)));
        }
    }

    static void setAmount(StatementOperation& op, int64_t amount) {
        op.amount = amount;
        op.direction = amount < 0 ? 0 : 1;
    }

    static void describe(StatementOperation& op, const XmlNode& entry, const XmlNode* details) {
        const bool out = op.direction == 0;
        const XmlNode* parties = details ? details->child(u"RltdPties") : nullptr;
        if (parties != nullptr) {
            const XmlNode* party = parties->child(out ? u"Cdtr" : u"Dbtr");
            QString name = party ? party->textAt(u"Nm") : QString();
            if (name.isEmpty() && party != nullptr) {
                name = party->textAt(u"Pty/Nm");
            }
            op.counterpartyName = name.toStdU16String();
            op.counterpartyAccount =
                accountIn(parties->child(out ? u"CdtrAcct" : u"DbtrAcct")).toStdU16String();
        }
        QStringList lines;
        if (const XmlNode* remittance = details ? details->child(u"RmtInf") : nullptr) {
            for (const XmlNode* line : remittance->all(u"Ustrd")) {
                lines += line->text.trimmed();
            }
        }
        const QString title = lines.isEmpty() ? entry.textAt(u"AddtlNtryInf") : lines.join(u' ');
        op.title = title.toStdU16String();
        const XmlNode* code = entry.child(u"BkTxCd");
        if (details != nullptr && details->child(u"BkTxCd")) {
            code = details->child(u"BkTxCd");
        }
        if (code != nullptr) {
            op.kind = KindCodes::FromBankTransactionCode(
                code->textAt(u"Domn/Cd"), code->textAt(u"Domn/Fmly/Cd"),
                code->textAt(u"Domn/Fmly/SubFmlyCd"), op.direction);
        }
    }

    Statement& m_statement;
    bool m_opening = false;  // an OPBD balance was read (it wins over PRCD)
};

// Entries have an opening and a closing tag each (with any namespace prefix); an estimate, as an
// opening tag with attributes is not counted.
size_t entriesIn(const std::string& bytes) {
    static constexpr std::string_view kTagEnd = "Ntry>";
    size_t tags = 0;
    for (const char* at = bytes.data();
         const void* found = memmem(at, size_t(bytes.data() + bytes.size() - at), kTagEnd.data(),
                                    kTagEnd.size());) {
        ++tags;
        at = static_cast<const char*>(found) + kTagEnd.size();
    }
    return tags / 2;
}

void readStatement(XmlStream& document, Statement& statement) {
    StatementReader builder(statement);
    const int line = document.line();
    for (;;) {
        const auto token = document.next();
        if (token == XmlStream::Token::EndElement) {
            break;
        }
        if (token == XmlStream::Token::EndDocument) {
            throw ImportError(QStringLiteral("Plik camt.053 jest niepełny (wyciąg z wiersza %1).")
                                  .arg(line)
                                  .toStdString());
        }
        if (token != XmlStream::Token::StartElement) {
            continue;
        }
        const XmlNode node = document.readElement();
        if (node.name == u"Id") {
            statement.reference = node.text.trimmed().toStdU16String();
        } else if (node.name == u"Acct") {
            builder.account(node);
        } else if (node.name == u"Bal") {
            builder.balance(node);
        } else if (node.name == u"Ntry") {
            builder.entry(node);
        } else if (node.name == u"FrToDt") {
            if (const auto from = StatementValues::IsoDay(node.textAt(u"FrDtTm"))) {
                statement.periodFrom = *from;
            }
            if (const auto to = StatementValues::IsoDay(node.textAt(u"ToDtTm"))) {
                statement.periodTo = *to;
            }
        }
    }
    if (statement.account.empty()) {
        throw ImportError(QStringLiteral("Plik camt.053: wyciąg z wiersza %1 nie podaje rachunku "
                                         "(Acct/Id).")
                              .arg(line)
                              .toStdString());
    }
}

}  // namespace

namespace CamtReader {

std::vector<Statement> Read(const std::string& bytes, std::optional<TextEncoding> encoding) {
    XmlStream document(bytes, kWhat, encoding, QStringLiteral("Stmt"));
    // Room for the entries of the file, counted ahead: grown by doubling, a statement's
    // operations were moved some twenty times. What a statement leaves is given to the next.
    size_t room = entriesIn(bytes);
    std::vector<Statement> statements;
    bool statementsElement = false;
    for (auto token = document.next(); token != XmlStream::Token::EndDocument;
         token = document.next()) {
        if (token != XmlStream::Token::StartElement) {
            continue;
        }
        const QString name = document.name();
        if (name == u"BkToCstmrStmt") {
            statementsElement = true;
        } else if (name == u"Stmt" && statementsElement) {
            Statement& statement = statements.emplace_back();
            statement.operations.reserve(room);
            readStatement(document, statement);
            statement.operations.shrink_to_fit();
            room -= std::min(room, statement.operations.size());
        }
    }
    if (statements.empty()) {
        throw ImportError("Plik camt.053 nie zawiera żadnego wyciągu (BkToCstmrStmt/Stmt).");
    }
    return statements;
}

}  // namespace CamtReader
