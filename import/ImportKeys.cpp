// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportKeys.h"

#include "StatementValues.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QString>

#include <map>
#include <utility>

namespace ImportKeys {

std::u16string BaseKey(const StatementOperation& op) {
    if (!op.fileId.empty()) {
        return u"id:" + op.fileId;
    }
    const QString day = QDateTime::fromSecsSinceEpoch(op.bookingDate).toString(u"yyyy-MM-dd");
    const QString canonical =
        QStringList{day, QString::number(op.amount),
                    StatementValues::DigitsOf(QString::fromStdU16String(op.counterpartyAccount)),
                    QString::fromStdU16String(op.title).simplified().toLower()}
            .join(u'\n');
    const QByteArray digest =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return u"fp:" + QString::fromLatin1(digest).toStdU16String();
}

std::vector<std::u16string> ForAccount(const std::vector<const StatementOperation*>& ops) {
    std::vector<std::u16string> keys;
    keys.reserve(ops.size());
    std::map<std::u16string, int> seen;
    for (const StatementOperation* op : ops) {
        const std::u16string base = BaseKey(*op);
        const int n = ++seen[base];
        std::u16string key = base + u'#';
        for (const char digit : std::to_string(n)) {
            key += static_cast<char16_t>(digit);
        }
        keys.push_back(std::move(key));
    }
    return keys;
}

}  // namespace ImportKeys
