// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// The bank list of the account manager as the loader fills it.
class BankComboSink {
public:
    virtual ~BankComboSink() = default;
    virtual void clear() = 0;
    virtual void addItem(const std::u16string& text, int32_t data) = 0;
};
