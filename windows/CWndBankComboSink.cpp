// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndBankComboSink.h"

#include <QComboBox>
#include <QString>

void CWndBankComboSink::clear() {
    m_combo->clear();
}

void CWndBankComboSink::addItem(const std::u16string& text, int32_t data) {
    m_combo->addItem(QString::fromStdU16String(text), data);
}
