// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportKeyList.h"

#include "ImportKeys.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstring>
#include <numeric>

ImportKeyList::ImportKeyList(const std::vector<const StatementOperation*>& ops)
    : m_entries(ops.size()) {
    for (size_t i = 0; i < ops.size(); ++i) {
        if (ops[i]->fileId.empty()) {
            const QByteArray digest = ImportKeys::Fingerprint(*ops[i]);
            std::memcpy(m_entries[i].digest.data(), digest.data(), m_entries[i].digest.size());
        }
    }
    // n counts the base key's operations in file order: positions sorted by base key (file
    // identifiers after digests), then by position.
    auto less = [this, &ops](uint32_t a, uint32_t b) {
        const std::u16string& idA = ops[a]->fileId;
        const std::u16string& idB = ops[b]->fileId;
        if (idA.empty() != idB.empty()) {
            return idA.empty();
        }
        return idA.empty() ? m_entries[a].digest < m_entries[b].digest : idA < idB;
    };
    std::vector<uint32_t> order(ops.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), less);
    for (size_t k = 0; k < order.size(); ++k) {
        const bool same = k > 0 && !less(order[k - 1], order[k]);
        m_entries[order[k]].n = same ? m_entries[order[k - 1]].n + 1 : 1;
    }
}

std::u16string ImportKeyList::key(size_t i, const StatementOperation& op) const {
    std::u16string key;
    if (op.fileId.empty()) {
        const auto* digest = reinterpret_cast<const char*>(m_entries[i].digest.data());
        key = u"fp:" +
              QString::fromLatin1(
                  QByteArray::fromRawData(digest, qsizetype(m_entries[i].digest.size())).toHex())
                  .toStdU16String();
    } else {
        key = u"id:" + op.fileId;
    }
    key += u'#';
    for (const char digit : std::to_string(m_entries[i].n)) {
        key += static_cast<char16_t>(digit);
    }
    return key;
}
