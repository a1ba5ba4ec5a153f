// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyringReference.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <array>

namespace KeyringReference {

namespace {

const QString& prefix() {
    static const QString text = QString::fromUtf16(kPrefix);
    return text;
}

}  // namespace

bool isReference(const QString& pass) {
    return pass.startsWith(prefix()) && pass.size() > prefix().size();
}

QString idOf(const QString& pass) {
    return isReference(pass) ? pass.mid(prefix().size()) : QString();
}

QString referenceTo(const QString& id) {
    return prefix() + id;
}

QString newId() {
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(words.data()), sizeof(words)).toHex());
}

}  // namespace KeyringReference
