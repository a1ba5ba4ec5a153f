// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportKeys.h"

#include "StatementValues.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QHashFunctions>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <tuple>

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
    for (const StatementOperation* op : ops) {
        keys.push_back(BaseKey(*op));
    }
    // n counts the base key's operations in file order: the positions ordered by the key's two
    // 64-bit hashes (and file order), rather than a map holding a copy of every key, which took
    // more memory than the file's operations themselves.
    struct Position {
        size_t first, second;
        uint32_t index;
    };
    std::vector<Position> order;
    order.reserve(ops.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        order.push_back({std::hash<std::u16string_view>{}(keys[i]),
                         qHash(QStringView(keys[i]), size_t(0x9E3779B97F4A7C15)), uint32_t(i)});
    }
    std::sort(order.begin(), order.end(), [](const Position& a, const Position& b) {
        return std::tie(a.first, a.second, a.index) < std::tie(b.first, b.second, b.index);
    });
    int n = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        const bool same =
            k > 0 && order[k].first == order[k - 1].first && order[k].second == order[k - 1].second;
        n = same ? n + 1 : 1;
        std::u16string& key = keys[order[k].index];
        key += u'#';
        for (const char digit : std::to_string(n)) {
            key += static_cast<char16_t>(digit);
        }
    }
    return keys;
}

}  // namespace ImportKeys
