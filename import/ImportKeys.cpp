// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportKeys.h"

#include "StatementValues.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QString>

#include <map>

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
        const std::string suffix = "#" + std::to_string(n);
        keys.push_back(base + std::u16string(suffix.begin(), suffix.end()));
    }
    return keys;
}

}  // namespace ImportKeys
