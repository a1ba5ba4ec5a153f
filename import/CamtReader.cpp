// SPDX-License-Identifier: GPL-3.0-or-later
#include "CamtReader.h"

#include "HugePageAllocator.h"
#include "ImportError.h"
#include "KindCodes.h"
#include "StatementValues.h"
#include "XmlSaxReader.h"

#include <QStringDecoder>

#include <strings.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

// Named, so that its helpers stay apart from the other readers' in a unity build.
namespace CamtReader {
namespace {

constexpr const char* kWhat = "camt.053";

// The local names the reader acts on.
enum Name : int {
    BkToCstmrStmt,
    Stmt,
    Id,
    Acct,
    IBAN,
    Othr,
    Ccy,
    Bal,
    Tp,
    CdOrPrtry,
    Cd,
    Amt,
    CdtDbtInd,
    Dt,
    DtTm,
    FrToDt,
    FrDtTm,
    ToDtTm,
    Ntry,
    Sts,
    BookgDt,
    ValDt,
    AcctSvcrRef,
    NtryRef,
    AddtlNtryInf,
    BkTxCd,
    Domn,
    Fmly,
    SubFmlyCd,
    NtryDtls,
    TxDtls,
    AmtDtls,
    TxAmt,
    RltdPties,
    Cdtr,
    Dbtr,
    CdtrAcct,
    DbtrAcct,
    Nm,
    Pty,
    RmtInf,
    Ustrd,
    kNameCount
};
const std::vector<std::string_view> kNames = {
    "BkToCstmrStmt", "Stmt",        "Id",        "Acct",         "IBAN",   "Othr",      "Ccy",
    "Bal",           "Tp",          "CdOrPrtry", "Cd",           "Amt",    "CdtDbtInd", "Dt",
    "DtTm",          "FrToDt",      "FrDtTm",    "ToDtTm",       "Ntry",   "Sts",       "BookgDt",
    "ValDt",         "AcctSvcrRef", "NtryRef",   "AddtlNtryInf", "BkTxCd", "Domn",      "Fmly",
    "SubFmlyCd",     "NtryDtls",    "TxDtls",    "AmtDtls",      "TxAmt",  "RltdPties", "Cdtr",
    "Dbtr",          "CdtrAcct",    "DbtrAcct",  "Nm",           "Pty",    "RmtInf",    "Ustrd"};

// What an element inside a statement is to the reader, by its path from the statement.
enum class Slot {
    None,
    StatementId,
    Account,
    AccountIban,
    AccountOther,
    AccountCurrency,
    Balance,
    BalanceCode,
    BalanceTypeCode,
    BalanceAmount,
    BalanceIndicator,
    BalanceDate,
    BalanceDay,
    BalanceDayTime,
    PeriodFrom,
    PeriodTo,
    Entry,
    EntryAmount,
    EntryIndicator,
    Status,
    StatusCode,
    Booking,
    BookingDay,
    BookingDayTime,
    Value,
    ValueDay,
    ValueDayTime,
    ServicerReference,
    EntryReference,
    AdditionalInfo,
    EntryCode,
    EntryDomain,
    EntryFamily,
    EntrySubFamily,
    Details,
    DetailsIndicator,
    DetailsTxAmount,
    DetailsAmount,
    CreditorName,
    CreditorPartyName,
    DebtorName,
    DebtorPartyName,
    CreditorIban,
    CreditorOther,
    DebtorIban,
    DebtorOther,
    Remittance,
    DetailsCode,
    DetailsDomain,
    DetailsFamily,
    DetailsSubFamily
};

struct Path {
    std::string_view path;
    Slot slot;
};
constexpr std::string_view kTx = "Ntry/NtryDtls/TxDtls";
const Path kPaths[] = {
    {"Id", Slot::StatementId},
    {"Acct", Slot::Account},
    {"Acct/Id/IBAN", Slot::AccountIban},
    {"Acct/Id/Othr/Id", Slot::AccountOther},
    {"Acct/Ccy", Slot::AccountCurrency},
    {"Bal", Slot::Balance},
    {"Bal/Tp/CdOrPrtry/Cd", Slot::BalanceCode},
    {"Bal/Tp/Cd", Slot::BalanceTypeCode},
    {"Bal/Amt", Slot::BalanceAmount},
    {"Bal/CdtDbtInd", Slot::BalanceIndicator},
    {"Bal/Dt", Slot::BalanceDate},
    {"Bal/Dt/Dt", Slot::BalanceDay},
    {"Bal/Dt/DtTm", Slot::BalanceDayTime},
    {"FrToDt/FrDtTm", Slot::PeriodFrom},
    {"FrToDt/ToDtTm", Slot::PeriodTo},
    {"Ntry", Slot::Entry},
    {"Ntry/Amt", Slot::EntryAmount},
    {"Ntry/CdtDbtInd", Slot::EntryIndicator},
    {"Ntry/Sts", Slot::Status},
    {"Ntry/Sts/Cd", Slot::StatusCode},
    {"Ntry/BookgDt", Slot::Booking},
    {"Ntry/BookgDt/Dt", Slot::BookingDay},
    {"Ntry/BookgDt/DtTm", Slot::BookingDayTime},
    {"Ntry/ValDt", Slot::Value},
    {"Ntry/ValDt/Dt", Slot::ValueDay},
    {"Ntry/ValDt/DtTm", Slot::ValueDayTime},
    {"Ntry/AcctSvcrRef", Slot::ServicerReference},
    {"Ntry/NtryRef", Slot::EntryReference},
    {"Ntry/AddtlNtryInf", Slot::AdditionalInfo},
    {"Ntry/BkTxCd", Slot::EntryCode},
    {"Ntry/BkTxCd/Domn/Cd", Slot::EntryDomain},
    {"Ntry/BkTxCd/Domn/Fmly/Cd", Slot::EntryFamily},
    {"Ntry/BkTxCd/Domn/Fmly/SubFmlyCd", Slot::EntrySubFamily},
    {kTx, Slot::Details},
    {"Ntry/NtryDtls/TxDtls/CdtDbtInd", Slot::DetailsIndicator},
    {"Ntry/NtryDtls/TxDtls/AmtDtls/TxAmt/Amt", Slot::DetailsTxAmount},
    {"Ntry/NtryDtls/TxDtls/Amt", Slot::DetailsAmount},
    {"Ntry/NtryDtls/TxDtls/RltdPties/Cdtr/Nm", Slot::CreditorName},
    {"Ntry/NtryDtls/TxDtls/RltdPties/Cdtr/Pty/Nm", Slot::CreditorPartyName},
    {"Ntry/NtryDtls/TxDtls/RltdPties/Dbtr/Nm", Slot::DebtorName},
    {"Ntry/NtryDtls/TxDtls/RltdPties/Dbtr/Pty/Nm", Slot::DebtorPartyName},
    {"Ntry/NtryDtls/TxDtls/RltdPties/CdtrAcct/Id/IBAN", Slot::CreditorIban},
    {"Ntry/NtryDtls/TxDtls/RltdPties/CdtrAcct/Id/Othr/Id", Slot::CreditorOther},
    {"Ntry/NtryDtls/TxDtls/RltdPties/DbtrAcct/Id/IBAN", Slot::DebtorIban},
    {"Ntry/NtryDtls/TxDtls/RltdPties/DbtrAcct/Id/Othr/Id", Slot::DebtorOther},
    {"Ntry/NtryDtls/TxDtls/RmtInf/Ustrd", Slot::Remittance},
    {"Ntry/NtryDtls/TxDtls/BkTxCd", Slot::DetailsCode},
    {"Ntry/NtryDtls/TxDtls/BkTxCd/Domn/Cd", Slot::DetailsDomain},
    {"Ntry/NtryDtls/TxDtls/BkTxCd/Domn/Fmly/Cd", Slot::DetailsFamily},
    {"Ntry/NtryDtls/TxDtls/BkTxCd/Domn/Fmly/SubFmlyCd", Slot::DetailsSubFamily},
};

// The paths as a tree of steps from the statement element: one look-up an element.
class PathTree {
public:
    static constexpr int kOutside = -1;  // an element the reader does not look into

    PathTree() {
        m_steps.emplace_back();
        for (const Path& path : kPaths) {
            int at = 0;
            for (size_t from = 0; from <= path.path.size();) {
                const size_t slash = std::min(path.path.find('/', from), path.path.size());
                const auto name =
                    std::find(kNames.begin(), kNames.end(), path.path.substr(from, slash - from));
                const size_t place = size_t(name - kNames.begin());
                if (m_steps[size_t(at)].next[place] == kOutside) {
                    m_steps[size_t(at)].next[place] = int(m_steps.size());
                    m_steps.emplace_back();
                }
                at = m_steps[size_t(at)].next[place];
                from = slash + 1;
            }
            m_steps[size_t(at)].slot = path.slot;
        }
    }
    int step(int from, int name) const {
        return from == kOutside || name < 0 ? kOutside : m_steps[size_t(from)].next[size_t(name)];
    }
    Slot slot(int at) const { return at == kOutside ? Slot::None : m_steps[size_t(at)].slot; }

private:
    struct Step {
        Step() { next.fill(kOutside); }
        std::array<int, kNameCount> next;
        Slot slot = Slot::None;
    };
    std::vector<Step> m_steps;
};

std::string_view trimmed(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

QString qtext(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).trimmed();
}

// Straight into the operation's own string: a file has many.
std::u16string utf16(std::string_view utf8) {
    utf8 = trimmed(utf8);
    std::u16string text(utf8.size(), u'\0');
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar* end = decoder.appendToBuffer(reinterpret_cast<QChar*>(text.data()), utf8);
    text.resize(size_t(end - reinterpret_cast<const QChar*>(text.data())));
    // Other white space than the file's layout is trimmed as QString::trimmed does.
    const QStringView view = QStringView(text).trimmed();
    if (view.size() != qsizetype(text.size())) {
        text = std::u16string(view.utf16(), size_t(view.size()));
    }
    return text;
}

// The character data of the first element met at a path in one scope; later ones are left, as
// a reader of the element's first child would leave them.
struct Text {
    std::string value;  // UTF-8, as written
    bool set = false;

    void take(std::string_view text) {
        if (!set) {
            value.assign(text);
            set = true;
        }
    }
    void clear() {
        value.clear();
        set = false;
    }
    bool empty() const { return trimmed(value).empty(); }
};

struct Amount {
    Text text;
    std::string currency;  // the Ccy attribute
    int line = 0;

    void start(int at, const XmlSaxReader::Attributes& attributes) {
        if (!text.set) {
            line = at;
            currency.assign(attributes.value("Ccy"));
        }
    }
    void clear() {
        text.clear();
        currency.clear();
        line = 0;
    }
};

// A date element: Dt or DtTm inside it, the day as written.
struct Day {
    bool present = false;
    int line = 0;
    Text day;
    Text dayTime;

    void start(int at) {
        if (!present) {
            present = true;
            line = at;
        }
    }
    void clear() {
        present = false;
        day.clear();
        dayTime.clear();
    }
};

struct Code {
    bool present = false;
    Text domain, family, subFamily;

    void clear() {
        present = false;
        domain.clear();
        family.clear();
        subFamily.clear();
    }
};

// One TxDtls of an entry.
struct Details {
    int line = 0;
    Text indicator;
    Amount txAmount, amount;
    Text creditorName, creditorPartyName, debtorName, debtorPartyName;
    Text creditorIban, creditorOther, debtorIban, debtorOther;
    std::string remittance;  // the Ustrd lines, trimmed, joined with a space
    int remittanceLines = 0;
    Code code;

    void clear(int at) {
        line = at;
        for (Text* text :
             {&indicator, &creditorName, &creditorPartyName, &debtorName, &debtorPartyName,
              &creditorIban, &creditorOther, &debtorIban, &debtorOther}) {
            text->clear();
        }
        txAmount.clear();
        amount.clear();
        remittance.clear();
        remittanceLines = 0;
        code.clear();
    }
};

struct Entry {
    int line = 0;
    Amount amount;
    Text indicator, status, statusCode, servicerReference, entryReference, additionalInfo;
    Day booking, value;
    Code code;
    std::vector<Details> details;  // kept between entries, so their texts keep their room
    size_t detailCount = 0;

    void clear(int at) {
        line = at;
        amount.clear();
        for (Text* text : {&indicator, &status, &statusCode, &servicerReference, &entryReference,
                           &additionalInfo}) {
            text->clear();
        }
        booking.clear();
        value.clear();
        code.clear();
        detailCount = 0;
    }
    Details& addDetails(int at) {
        if (detailCount == details.size()) {
            details.emplace_back();
        }
        Details& added = details[detailCount++];
        added.clear(at);
        return added;
    }
    Details* current() { return detailCount ? &details[detailCount - 1] : nullptr; }
};

struct Balance {
    int line = 0;
    Text code, typeCode, indicator;
    Amount amount;
    Day date;

    void clear(int at) {
        line = at;
        code.clear();
        typeCode.clear();
        indicator.clear();
        amount.clear();
        date.clear();
    }
};

// Hears one document's elements and makes its statements as their ends come.
class CamtBuilder : public XmlSaxReader::Handler {
public:
    explicit CamtBuilder(size_t room) : m_room(room) {}

    std::vector<Statement> take() {
        if (m_statement != nullptr) {
            throw ImportError(QStringLiteral("Plik camt.053 jest niepełny (wyciąg z wiersza %1).")
                                  .arg(m_statementLine)
                                  .toStdString());
        }
        if (m_statements.empty()) {
            throw ImportError("Plik camt.053 nie zawiera żadnego wyciągu (BkToCstmrStmt/Stmt).");
        }
        return std::move(m_statements);
    }

    void started(int name, int line, const XmlSaxReader::Attributes& attributes) override {
        m_text.clear();
        if (m_statement == nullptr) {
            if (name == BkToCstmrStmt) {
                m_statementsElement = true;
            } else if (name == Stmt && m_statementsElement) {
                beginStatement(line);
            }
            return;
        }
        const int at = tree().step(m_path.empty() ? 0 : m_path.back(), name);
        m_path.push_back(at);
        begin(tree().slot(at), line, attributes);
    }

    void ended() override {
        if (m_statement != nullptr) {
            if (m_path.empty()) {
                endStatement();
            } else {
                const Slot slot = tree().slot(m_path.back());
                m_path.pop_back();
                end(slot);
            }
        }
        m_text.clear();
    }

    void text(std::string_view piece) override {
        if (m_statement != nullptr) {
            m_text.append(piece);
        }
    }

private:
    static const PathTree& tree() {
        static const PathTree paths;
        return paths;
    }

    void beginStatement(int line) {
        m_statement = &m_statements.emplace_back();
        m_statementLine = line;
        m_opening = false;
        m_statement->operations.reserve(m_room);
        HugePages::adviseWithin(m_statement->operations.data(),
                                m_room * sizeof(StatementOperation));
        m_path.clear();
    }

    void endStatement() {
        Statement& statement = *m_statement;
        m_statement = nullptr;
        if (statement.account.empty()) {
            throw ImportError(QStringLiteral("Plik camt.053: wyciąg z wiersza %1 nie podaje "
                                             "rachunku (Acct/Id).")
                                  .arg(m_statementLine)
                                  .toStdString());
        }
        // What a statement leaves of the room counted ahead is given to the next.
        statement.operations.shrink_to_fit();
        m_room -= std::min(m_room, statement.operations.size());
    }

    void begin(Slot slot, int line, const XmlSaxReader::Attributes& attributes) {
        Details* details = m_entry.current();
        switch (slot) {
            case Slot::Account:
                m_accountIban.clear();
                m_accountOther.clear();
                m_accountCurrency.clear();
                break;
            case Slot::Balance:
                m_balance.clear(line);
                break;
            case Slot::BalanceAmount:
                m_balance.amount.start(line, attributes);
                break;
            case Slot::BalanceDate:
                m_balance.date.start(line);
                break;
            case Slot::Entry:
                m_entry.clear(line);
                break;
            case Slot::EntryAmount:
                m_entry.amount.start(line, attributes);
                break;
            case Slot::Booking:
                m_entry.booking.start(line);
                break;
            case Slot::Value:
                m_entry.value.start(line);
                break;
            case Slot::EntryCode:
                m_entry.code.present = true;
                break;
            case Slot::Details:
                m_entry.addDetails(line);
                break;
            case Slot::DetailsTxAmount:
                details->txAmount.start(line, attributes);
                break;
            case Slot::DetailsAmount:
                details->amount.start(line, attributes);
                break;
            case Slot::DetailsCode:
                details->code.present = true;
                break;
            default:
                break;
        }
    }

    // The text a leaf element's character data fills; nullptr for every other element.
    Text* leafText(Slot slot) {
        Details* details = m_entry.current();
        switch (slot) {
            case Slot::AccountIban:
                return &m_accountIban;
            case Slot::AccountOther:
                return &m_accountOther;
            case Slot::AccountCurrency:
                return &m_accountCurrency;
            case Slot::BalanceCode:
                return &m_balance.code;
            case Slot::BalanceTypeCode:
                return &m_balance.typeCode;
            case Slot::BalanceAmount:
                return &m_balance.amount.text;
            case Slot::BalanceIndicator:
                return &m_balance.indicator;
            case Slot::BalanceDay:
                return &m_balance.date.day;
            case Slot::BalanceDayTime:
                return &m_balance.date.dayTime;
            case Slot::EntryAmount:
                return &m_entry.amount.text;
            case Slot::EntryIndicator:
                return &m_entry.indicator;
            case Slot::Status:
                return &m_entry.status;
            case Slot::StatusCode:
                return &m_entry.statusCode;
            case Slot::BookingDay:
                return &m_entry.booking.day;
            case Slot::BookingDayTime:
                return &m_entry.booking.dayTime;
            case Slot::ValueDay:
                return &m_entry.value.day;
            case Slot::ValueDayTime:
                return &m_entry.value.dayTime;
            case Slot::ServicerReference:
                return &m_entry.servicerReference;
            case Slot::EntryReference:
                return &m_entry.entryReference;
            case Slot::AdditionalInfo:
                return &m_entry.additionalInfo;
            case Slot::EntryDomain:
                return &m_entry.code.domain;
            case Slot::EntryFamily:
                return &m_entry.code.family;
            case Slot::EntrySubFamily:
                return &m_entry.code.subFamily;
            case Slot::DetailsIndicator:
                return &details->indicator;
            case Slot::DetailsTxAmount:
                return &details->txAmount.text;
            case Slot::DetailsAmount:
                return &details->amount.text;
            case Slot::CreditorName:
                return &details->creditorName;
            case Slot::CreditorPartyName:
                return &details->creditorPartyName;
            case Slot::DebtorName:
                return &details->debtorName;
            case Slot::DebtorPartyName:
                return &details->debtorPartyName;
            case Slot::CreditorIban:
                return &details->creditorIban;
            case Slot::CreditorOther:
                return &details->creditorOther;
            case Slot::DebtorIban:
                return &details->debtorIban;
            case Slot::DebtorOther:
                return &details->debtorOther;
            case Slot::DetailsDomain:
                return &details->code.domain;
            case Slot::DetailsFamily:
                return &details->code.family;
            case Slot::DetailsSubFamily:
                return &details->code.subFamily;
            default:
                return nullptr;
        }
    }

    void end(Slot slot) {
        const std::string_view text = m_text;
        if (Text* leaf = leafText(slot)) {
            leaf->take(text);
            return;
        }
        Details* details = m_entry.current();
        switch (slot) {
            case Slot::None:
                break;
            case Slot::StatementId:
                m_statement->reference = utf16(text);
                break;
            case Slot::Account:
                m_statement->account =
                    utf16(m_accountIban.empty() ? m_accountOther.value : m_accountIban.value);
                m_statement->currency = utf16(m_accountCurrency.value);
                break;
            case Slot::Balance:
                balance();
                break;
            case Slot::PeriodFrom:
                if (const auto from = StatementValues::IsoDay(qtext(text))) {
                    m_statement->periodFrom = *from;
                }
                break;
            case Slot::PeriodTo:
                if (const auto to = StatementValues::IsoDay(qtext(text))) {
                    m_statement->periodTo = *to;
                }
                break;
            case Slot::Entry:
                entry();
                break;
            case Slot::Remittance:
                if (details->remittanceLines++ > 0) {
                    details->remittance += ' ';
                }
                details->remittance += trimmed(text);
                break;
            default:
                break;  // scopes read when they end, or whose start is all they say
        }
    }

    [[noreturn]] static void fail(const char* element, int line, const QString& what) {
        throw ImportError(QStringLiteral("Plik camt.053, element %1 w wierszu %2: %3")
                              .arg(QLatin1String(element))
                              .arg(line)
                              .arg(what)
                              .toStdString());
    }

    static int64_t dateOf(const Day& date, const char* element) {
        const QString written = qtext(date.day.empty() ? date.dayTime.value : date.day.value);
        const auto day = StatementValues::IsoDay(written);
        if (!day) {
            fail(element, date.line,
                 QStringLiteral("brak daty albo data nieczytelna („%1”).").arg(written));
        }
        return *day;
    }

    void balance() {
        const std::string_view code =
            trimmed(m_balance.code.empty() ? m_balance.typeCode.value : m_balance.code.value);
        const int64_t amount =
            signedAmount(m_balance.amount, "Bal", m_balance.line, m_balance.indicator.value);
        if (code == "OPBD" || (code == "PRCD" && !m_opening)) {
            m_statement->openingBalance = amount;
            if (m_balance.date.present) {
                m_statement->periodFrom = dateOf(m_balance.date, "Dt");
            }
            m_opening = code == "OPBD";
        } else if (code == "CLBD") {
            m_statement->closingBalance = amount;
            if (m_balance.date.present) {
                m_statement->periodTo = dateOf(m_balance.date, "Dt");
            }
        }
    }

    void entry() {
        if (!m_entry.booking.present) {
            fail("Ntry", m_entry.line, QStringLiteral("pozycja bez daty księgowania (BookgDt)."));
        }
        StatementOperation base;
        base.bookingDate = dateOf(m_entry.booking, "BookgDt");
        base.operationDate =
            m_entry.value.present ? dateOf(m_entry.value, "ValDt") : base.bookingDate;
        const std::string_view status =
            trimmed(m_entry.statusCode.empty() ? m_entry.status.value : m_entry.statusCode.value);
        base.booked = status.size() == 4 && strncasecmp(status.data(), "BOOK", 4) == 0;
        const std::string& reference = m_entry.servicerReference.empty()
                                           ? m_entry.entryReference.value
                                           : m_entry.servicerReference.value;
        const std::string_view indicator = m_entry.indicator.value;
        const int64_t total = signedAmount(m_entry.amount, "Ntry", m_entry.line, indicator);
        std::vector<StatementOperation>& operations = m_statement->operations;
        // Made in place: a failure ends the whole file, so a half-made operation is never kept.
        if (m_entry.detailCount <= 1) {
            StatementOperation& op = operations.emplace_back(base);
            setAmount(op, total);
            describe(op, m_entry.current());
            op.fileId = utf16(reference);
            return;
        }
        const QString batch = qtext(reference);
        int64_t sum = 0;
        for (size_t i = 0; i < m_entry.detailCount; ++i) {
            StatementOperation& op = operations.emplace_back(base);
            Details& one = m_entry.details[i];
            const Amount& amount = one.txAmount.text.set ? one.txAmount : one.amount;
            if (!amount.text.set) {
                fail("TxDtls", one.line,
                     QStringLiteral("pozycja paczki bez kwoty (AmtDtls/TxAmt/Amt)."));
            }
            setAmount(op,
                      signedValue(amount, one.indicator.empty() ? indicator : one.indicator.value));
            sum += op.amount;
            describe(op, &one);
            if (!batch.isEmpty()) {
                op.fileId = (batch + u'/' + QString::number(i + 1)).toStdU16String();
            }
        }
        if (sum != total) {
            fail(
                "Ntry", m_entry.line,
                QStringLiteral("kwoty pozycji paczki (%1) nie dają kwoty pozycji (%2).")
                    .arg(StatementValues::FormatGrosze(sum), StatementValues::FormatGrosze(total)));
        }
    }

    int64_t signedAmount(const Amount& amount, const char* element, int line,
                         std::string_view indicator) {
        if (!amount.text.set) {
            fail(element, line, QStringLiteral("brak kwoty (Amt)."));
        }
        return signedValue(amount, indicator);
    }

    int64_t signedValue(const Amount& amount, std::string_view written) {
        const QString text = qtext(amount.text.value);
        const auto value = StatementValues::Grosze(text);
        if (!value || *value < 0) {
            fail("Amt", amount.line, QStringLiteral("nieczytelna kwota („%1”).").arg(text));
        }
        const std::string_view indicator = trimmed(written);
        if (indicator != "CRDT" && indicator != "DBIT") {
            fail("Amt", amount.line,
                 QStringLiteral("brak znaku kwoty (CdtDbtInd: „%1”).").arg(qtext(indicator)));
        }
        checkCurrency(amount);
        return indicator == "DBIT" ? -*value : *value;
    }

    void checkCurrency(const Amount& amount) {
        const std::string_view currency = trimmed(amount.currency);
        if (currency.empty()) {
            return;
        }
        std::u16string& own = m_statement->currency;
        if (own.empty()) {
            own = utf16(currency);
        } else if (currency.size() != own.size() ||
                   !std::equal(currency.begin(), currency.end(), own.begin())) {
            fail("Amt", amount.line,
                 QStringLiteral("kwota w walucie %1 na rachunku w %2.")
                     .arg(qtext(currency), QString::fromStdU16String(own)));
        }
    }

    static void setAmount(StatementOperation& op, int64_t amount) {
        op.amount = amount;
        op.direction = amount < 0 ? 0 : 1;
    }

    void describe(StatementOperation& op, const Details* details) const {
        const bool out = op.direction == 0;
        if (details != nullptr) {
            const Text& name = out ? details->creditorName : details->debtorName;
            const Text& partyName = out ? details->creditorPartyName : details->debtorPartyName;
            op.counterpartyName = utf16(name.empty() ? partyName.value : name.value);
            const Text& iban = out ? details->creditorIban : details->debtorIban;
            const Text& other = out ? details->creditorOther : details->debtorOther;
            op.counterpartyAccount = utf16(iban.empty() ? other.value : iban.value);
        }
        op.title = utf16(details != nullptr && details->remittanceLines > 0
                             ? details->remittance
                             : m_entry.additionalInfo.value);
        const Code* code = details != nullptr && details->code.present ? &details->code
                           : m_entry.code.present                      ? &m_entry.code
                                                                       : nullptr;
        if (code != nullptr) {
            op.kind = KindCodes::FromBankTransactionCode(
                qtext(code->domain.value), qtext(code->family.value), qtext(code->subFamily.value),
                op.direction);
        }
    }

    size_t m_room;  // operations the file's entries are counted to make, not yet made
    std::vector<Statement> m_statements;
    Statement* m_statement = nullptr;  // the one being read
    int m_statementLine = 0;
    bool m_statementsElement = false;  // BkToCstmrStmt has begun
    bool m_opening = false;            // an OPBD balance was read (it wins over PRCD)
    std::vector<int> m_path;           // the open elements inside the statement, as steps
    std::string m_text;                // character data since the last tag
    Text m_accountIban, m_accountOther, m_accountCurrency;
    Balance m_balance;
    Entry m_entry;
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

}  // namespace

std::vector<Statement> Read(const std::string& bytes, std::optional<TextEncoding> encoding) {
    XmlSaxReader document(bytes, kWhat, encoding, kNames);
    // Room for the entries of the file, counted ahead: grown by doubling, a statement's
    // operations were moved some twenty times.
    CamtBuilder builder(entriesIn(bytes));
    document.read(builder);
    return builder.take();
}

}  // namespace CamtReader
