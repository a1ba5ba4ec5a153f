// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportKeyList.h"

#include "ImportKeys.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstring>
#include <numeric>

ImportKeyList::ImportKeyList(std::vector<const StatementOperation*> ops)
    : m_ops(std::move(ops)), m_entries(m_ops.size()) {
    for (size_t i = 0; i < m_ops.size(); ++i) {
        if (m_ops[i]->fileId.empty()) {
            const QByteArray digest = ImportKeys::Fingerprint(*m_ops[i]);
            std::memcpy(m_entries[i].digest.data(), digest.data(), m_entries[i].digest.size());
        }
    }
    // n counts the base key's operations in file order: positions sorted by base key, then by
    // position.
    std::vector<uint32_t> order(m_ops.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [this](uint32_t a, uint32_t b) { return lessBase(a, b); });
    for (size_t k = 0; k < order.size(); ++k) {
        const bool same = k > 0 && sameBase(order[k], order[k - 1]);
        m_entries[order[k]].n = same ? m_entries[order[k - 1]].n + 1 : 1;
    }
}

bool ImportKeyList::lessBase(size_t a, size_t b) const {
    const std::u16string& idA = m_ops[a]->fileId;
    const std::u16string& idB = m_ops[b]->fileId;
    if (idA.empty() != idB.empty()) {
        return idA.empty();
    }
    return idA.empty() ? m_entries[a].digest < m_entries[b].digest : idA < idB;
}

bool ImportKeyList::sameBase(size_t a, size_t b) const {
    const std::u16string& idA = m_ops[a]->fileId;
    return idA == m_ops[b]->fileId && (!idA.empty() || m_entries[a].digest == m_entries[b].digest);
}

std::u16string ImportKeyList::operator[](size_t i) const {
    std::u16string key;
    if (m_ops[i]->fileId.empty()) {
        const auto* digest = reinterpret_cast<const char*>(m_entries[i].digest.data());
        key = u"fp:" +
              QString::fromLatin1(
                  QByteArray::fromRawData(digest, qsizetype(m_entries[i].digest.size())).toHex())
                  .toStdU16String();
    } else {
        key = u"id:" + m_ops[i]->fileId;
    }
    key += u'#';
    for (const char digit : std::to_string(m_entries[i].n)) {
        key += static_cast<char16_t>(digit);
    }
    return key;
}
