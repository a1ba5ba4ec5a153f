// SPDX-License-Identifier: GPL-3.0-or-later
#include "OfxReader.h"

#include "ImportError.h"
#include "KindCodes.h"
#include "StatementValues.h"
#include "TextDecoding.h"
#include "XmlTree.h"

#include <QRegularExpression>

namespace {

struct OfxNode {
    QString name;
    QString value;
    std::vector<OfxNode> children;
    int line = 0;

    const OfxNode* child(QStringView local) const {
        for (const OfxNode& node : children) {
            if (node.name == local) {
                return &node;
            }
        }
        return nullptr;
    }
    QString valueAt(QStringView path) const {
        const OfxNode* node = this;
        for (const QStringView part : path.split(u'/')) {
            node = node->child(part);
            if (node == nullptr) {
                return {};
            }
        }
        return node->value;
    }
};

[[noreturn]] void failOfx(int line, const QString& what) {
    throw ImportError(QStringLiteral("Plik OFX, wiersz %1: %2").arg(line).arg(what).toStdString());
}

// The 1.x header names the code page; 2.x is XML with its own declaration.
QString decode(const std::string& bytes) {
    const QString head =
        QString::fromLatin1(bytes.data(), qsizetype(std::min<size_t>(bytes.size(), 1024)));
    if (head.contains(QStringLiteral("<?xml"))) {
        const auto page = XmlTree::EncodingOf(bytes);
        return TextDecoding::Decode(bytes, page.value_or(TextDecoding::Detect(bytes)));
    }
    static const QRegularExpression charset(QStringLiteral("CHARSET:\\s*([A-Za-z0-9_-]+)"));
    static const QRegularExpression encoding(QStringLiteral("ENCODING:\\s*([A-Za-z0-9_-]+)"));
    const QString header = head.left(head.indexOf(u'<'));
    const QString encodingName = encoding.match(header).captured(1);
    if (TextDecoding::FromName(encodingName) == TextEncoding::Utf8) {
        return TextDecoding::Decode(bytes, TextEncoding::Utf8);
    }
    if (const auto named = TextDecoding::FromName(charset.match(header).captured(1))) {
        return TextDecoding::Decode(bytes, *named);
    }
    return TextDecoding::DecodeDetected(bytes);
}

QString unescape(QString text) {
    static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9A-Fa-f]{1,6});"));
    QRegularExpressionMatch m;
    qsizetype from = 0;
    while ((m = numeric.match(text, from)).hasMatch()) {
        bool ok = false;
        const uint code = m.captured(2).toUInt(&ok, m.capturedLength(1) ? 16 : 10);
        const QString character =
            ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)
                ? QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1)
                : QString(QChar(0xFFFD));
        text.replace(m.capturedStart(), m.capturedLength(), character);
        from = m.capturedStart() + character.size();
    }
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
        .replace(QStringLiteral("&nbsp;"), QStringLiteral("\u00A0"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

// Reads the tags into a tree: a tag followed by text is a leaf whether or not it is closed.
class Parser {
public:
    explicit Parser(const QString& text) : m_text(text) {}

    OfxNode parse() {
        OfxNode root;
        std::vector<OfxNode*> open{&root};
        while (nextTag()) {
            if (m_tag.startsWith(u'/')) {
                close(open, m_tag.mid(1));
                continue;
            }
            const QString value = textUntilTag().trimmed();
            OfxNode node{m_tag, unescape(value), {}, m_line};
            if (!value.isEmpty() || closesAt(m_tag)) {
                open.back()->children.push_back(std::move(node));
                continue;
            }
            if (open.size() > 64) {
                failOfx(m_line, QStringLiteral("zbyt głęboko zagnieżdżone elementy."));
            }
            open.back()->children.push_back(std::move(node));
            open.push_back(&open.back()->children.back());
        }
        if (open.size() > 1) {
            failOfx(m_line, QStringLiteral("plik jest niepełny (nie zamknięto elementu %1).")
                                .arg(open.back()->name));
        }
        return root;
    }

private:
    // Moves past the next markup that is a tag; false at the end.
    bool nextTag() {
        for (;;) {
            const qsizetype start = m_text.indexOf(u'<', m_at);
            if (start < 0) {
                return false;
            }
            advanceTo(start);
            if (m_text.mid(start, 4) == u"<!--") {
                skipPast(QStringLiteral("-->"));
                continue;
            }
            if (m_text.mid(start, 2) == u"<?") {
                skipPast(QStringLiteral("?>"));
                continue;
            }
            if (m_text.mid(start, 2) == u"<!") {
                failOfx(m_line, QStringLiteral("deklaracja DOCTYPE lub encji; takiego pliku Tavro "
                                               "nie czyta."));
            }
            const qsizetype end = m_text.indexOf(u'>', start);
            if (end < 0) {
                failOfx(m_line, QStringLiteral("plik urywa się w znaczniku."));
            }
            m_tag = m_text.mid(start + 1, end - start - 1).trimmed().toUpper();
            advanceTo(end + 1);
            if (m_tag.isEmpty() || m_tag == u"/") {
                failOfx(m_line, QStringLiteral("pusty znacznik."));
            }
            return true;
        }
    }

    QString textUntilTag() {
        qsizetype end = m_text.indexOf(u'<', m_at);
        if (end < 0) {
            end = m_text.size();
        }
        const QString value = m_text.mid(m_at, end - m_at);
        advanceTo(end);
        return value;
    }

    // An element closed right away (<MEMO></MEMO>) is an empty leaf; its end tag is consumed.
    bool closesAt(const QString& name) {
        const QString closing = QStringLiteral("</") + name + u'>';
        if (m_text.mid(m_at, closing.size()).compare(closing, Qt::CaseInsensitive) == 0) {
            advanceTo(m_at + closing.size());
            return true;
        }
        return false;
    }

    static void close(std::vector<OfxNode*>& open, const QString& name) {
        for (size_t i = open.size(); i > 1; --i) {
            if (open[i - 1]->name == name) {
                open.resize(i - 1);
                return;
            }
        }
        // A stray end tag of a leaf that was already closed by its text.
    }

    void skipPast(const QString& marker) {
        const qsizetype end = m_text.indexOf(marker, m_at);
        if (end < 0) {
            failOfx(m_line, QStringLiteral("plik urywa się w komentarzu lub instrukcji."));
        }
        advanceTo(end + marker.size());
    }

    void advanceTo(qsizetype position) {
        m_line += int(QStringView(m_text).mid(m_at, position - m_at).count(u'\n'));
        m_at = position;
    }

    const QString& m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    QString m_tag;
};

void collectStatements(const OfxNode& node, std::vector<const OfxNode*>& out) {
    for (const OfxNode& child : node.children) {
        if (child.name == u"STMTRS" || child.name == u"CCSTMTRS") {
            out.push_back(&child);
        } else {
            collectStatements(child, out);
        }
    }
}

int64_t dateOf(const OfxNode& transaction, const QString& name, int64_t fallback) {
    const QString written = transaction.valueAt(name);
    if (written.isEmpty() && fallback != 0) {
        return fallback;
    }
    const auto day = StatementValues::IsoDay(written, true);
    if (!day) {
        failOfx(transaction.line, QStringLiteral("nieczytelna data %1 („%2”).").arg(name, written));
    }
    return *day;
}

StatementOperation readTransaction(const OfxNode& node, const QString& account) {
    StatementOperation op;
    const QString written = node.valueAt(u"TRNAMT");
    const auto amount = StatementValues::Grosze(written);
    if (!amount) {
        failOfx(node.line, QStringLiteral("nieczytelna kwota TRNAMT („%1”).").arg(written));
    }
    op.amount = *amount;
    op.direction = *amount < 0 ? 0 : 1;
    op.bookingDate = dateOf(node, QStringLiteral("DTPOSTED"), 0);
    op.operationDate = dateOf(node, QStringLiteral("DTUSER"), op.bookingDate);
    op.kind = KindCodes::FromOfxType(node.valueAt(u"TRNTYPE"), op.direction);
    const QString fitId = node.valueAt(u"FITID");
    op.fileId = fitId.toStdU16String();
    QString name = node.valueAt(u"NAME");
    if (name.isEmpty()) {
        name = node.valueAt(u"PAYEE/NAME");
    }
    op.counterpartyName = name.toStdU16String();
    op.counterpartyAccount = node.valueAt(u"BANKACCTTO/ACCTID").toStdU16String();
    op.title = node.valueAt(u"MEMO").toStdU16String();
    // Tavro's own export names each operation "<account>-<number>".
    const QString ownPrefix = account + u'-';
    if (!account.isEmpty() && fitId.startsWith(ownPrefix)) {
        bool ok = false;
        const int number = fitId.mid(ownPrefix.size()).toInt(&ok);
        if (ok) {
            op.tid = number;
        }
    }
    return op;
}

Statement readStatement(const OfxNode& node) {
    Statement statement;
    QString account = node.valueAt(u"BANKACCTFROM/ACCTID");
    if (account.isEmpty()) {
        account = node.valueAt(u"CCACCTFROM/ACCTID");
    }
    statement.account = account.toStdU16String();
    statement.currency = node.valueAt(u"CURDEF").toUpper().toStdU16String();
    const OfxNode* list = node.child(u"BANKTRANLIST");
    if (list == nullptr) {
        return statement;
    }
    if (const auto from = StatementValues::IsoDay(list->valueAt(u"DTSTART"), true)) {
        statement.periodFrom = *from;
    }
    if (const auto to = StatementValues::IsoDay(list->valueAt(u"DTEND"), true)) {
        statement.periodTo = *to;
    }
    for (const OfxNode& child : list->children) {
        if (child.name == u"STMTTRN") {
            statement.operations.push_back(readTransaction(child, account));
        }
    }
    return statement;
}

}  // namespace

namespace OfxReader {

std::vector<Statement> Read(const std::string& bytes, std::optional<TextEncoding> encoding) {
    const QString text = encoding ? TextDecoding::Decode(bytes, *encoding) : decode(bytes);
    const OfxNode root = Parser(text).parse();
    std::vector<const OfxNode*> nodes;
    collectStatements(root, nodes);
    if (nodes.empty()) {
        throw ImportError("Plik OFX nie zawiera żadnego wyciągu (STMTRS).");
    }
    std::vector<Statement> statements;
    for (const OfxNode* node : nodes) {
        statements.push_back(readStatement(*node));
    }
    return statements;
}

}  // namespace OfxReader
