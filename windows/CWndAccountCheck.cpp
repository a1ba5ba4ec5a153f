// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndAccountCheck.h"

#include "Nrb.h"

namespace {
constexpr size_t kNumberLength = 26;
constexpr size_t kShortestName = 3;
}  // namespace

CWndAccountCheck::Verdict CWndAccountCheck::Validate(std::u16string& number,
                                                     const std::u16string& name) {
    number = NormalizeNRB(number);
    if (number.size() != kNumberLength) {
        return Verdict::WrongLength;
    }
    if (!CheckNRB(number).valid()) {
        return Verdict::WrongCheckDigits;
    }
    if (name.size() < kShortestName) {
        return Verdict::NameTooShort;
    }
    return Verdict::Valid;
}

std::u16string CWndAccountCheck::Message(Verdict verdict) {
    switch (verdict) {
        case Verdict::WrongLength:
            return u"Proszę podać prawidłowy 26-cyfrowy numer rachunku.";
        case Verdict::WrongCheckDigits:
            return u"Podany numer rachunku nie jest prawidłowy!";
        case Verdict::NameTooShort:
            return u"Proszę podać conajmniej 3 literową nazwę własną.";
        case Verdict::Valid:
            break;
    }
    return {};
}
