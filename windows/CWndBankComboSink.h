// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BankComboSink.h"

class QComboBox;

// The module loader's bank list written into a combo box: the text shown, the type as item data.
class CWndBankComboSink : public BankComboSink {
public:
    explicit CWndBankComboSink(QComboBox* combo) : m_combo(combo) {}

    void clear() override;
    void addItem(const std::u16string& text, int32_t data) override;

private:
    QComboBox* m_combo;
};
