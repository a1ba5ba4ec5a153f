// SPDX-License-Identifier: GPL-3.0-or-later
#include "BankDirectory.h"

#include <algorithm>
#include <array>

#include "IconvConverter.h"

namespace {
constexpr std::array<const char*, 18> kNames = {
    "Nieznany Interface",
    "Bank Przemys\xB3owo-Handlowy",
    "Bank Zachodni - WBK",
    "CitiBank Handlowy",
    "ING - Bank Slaski",
    "Inteligo",
    "Lucas Bank",
    "Tavro Bank",
    "Bank Millenium",
    "Multibank",
    "Raiffaisen Bank",
    "VW Direct",
    "Bank Ochrony Srodowiska",
    "InvestBank",
    "DeutcheBank",
    "NordeaBank",
    "PeKaO 24",
    "PKO - Inteligo",
};

constexpr std::array<int32_t, 3> kTypeTable = {kModuleType, kRoutingNumber, 0};
}  // namespace

std::string BankDirectoryName(int32_t type) {
    if (type < 1 || type >= static_cast<int32_t>(kNames.size())) {
        return kNames[0];
    }
    return kNames[static_cast<size_t>(type)];
}

const int32_t* ModuleTypeTable() {
    return kTypeTable.data();
}

int32_t FillModuleInfo(int32_t type, ModuleInfo* info) {
    if (info == nullptr || info->name == nullptr) {
        return 0;
    }
    const std::u16string name = Cp1250ToUtf16(BankDirectoryName(type));
    const std::u16string credit = Cp1250ToUtf16(kAuthorCredit);
    // The credit buffer is checked like the name's: a small one is never written past its end.
    const bool creditFits =
        info->credit == nullptr || static_cast<int64_t>(credit.size()) < info->creditCapacity;
    if (static_cast<int64_t>(name.size()) >= info->nameCapacity || !creditFits) {
        return 0;
    }
    std::copy(name.begin(), name.end(), info->name);
    info->name[name.size()] = u'\0';
    if (info->credit != nullptr) {
        std::copy(credit.begin(), credit.end(), info->credit);
        info->credit[credit.size()] = u'\0';
    }
    return 1;
}
