// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportKeys.h"

#include "ImportKeyList.h"
#include "StatementValues.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QString>

namespace ImportKeys {

QByteArray Fingerprint(const StatementOperation& op) {
    const QString day = QDateTime::fromSecsSinceEpoch(op.bookingDate).toString(u"yyyy-MM-dd");
    const QString canonical =
        QStringList{day, QString::number(op.amount),
                    StatementValues::DigitsOf(QString::fromStdU16String(op.counterpartyAccount)),
                    QString::fromStdU16String(op.title).simplified().toLower()}
            .join(u'\n');
    return QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).left(16);
}

std::u16string BaseKey(const StatementOperation& op) {
    if (!op.fileId.empty()) {
        return u"id:" + op.fileId;
    }
    return u"fp:" + QString::fromLatin1(Fingerprint(op).toHex()).toStdU16String();
}

std::vector<std::u16string> ForAccount(const std::vector<const StatementOperation*>& ops) {
    const ImportKeyList list(ops);
    std::vector<std::u16string> keys;
    keys.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        keys.push_back(list.key(i, *ops[i]));
    }
    return keys;
}

}  // namespace ImportKeys
