// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>

#include "ModuleLibrary.h"

namespace {
const char16_t* kValid = u"73111111111111111111111111";
const char16_t* kWrongCheck = u"74111111111111111111111111";

int gProgressCalls = 0;
void countProgress(HostContext*, int32_t, const char16_t*) {
    ++gProgressCalls;
}

class ModuleAbiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module.loaded()) << dlerror();
        gProgressCalls = 0;
        query.size = sizeof(HistoryQuery);
        query.user = u"user";
        query.password = u"secret";
        query.accounts = accounts;
        query.accountCount = 2;
        query.onProgress = &countProgress;
        query.days = 30;
    }
    int32_t run() { return module.queryHistory(&query, 0); }

    ModuleLibrary module{IB_TAVRO_MODULE_PATH};
    const char16_t* accounts[2] = {kValid, kValid};
    HistoryQuery query{};
};

TEST_F(ModuleAbiTest, NoRecord) {
    EXPECT_EQ(module.queryHistory(nullptr, 0), -10);
}

TEST_F(ModuleAbiTest, WrongSizeComesBeforeEverythingElse) {
    query.accounts = nullptr;
    for (const int32_t size : {static_cast<int32_t>(sizeof(HistoryQuery)) - 1,
                               static_cast<int32_t>(sizeof(HistoryQuery)) + 1, 56}) {
        query.size = size;
        EXPECT_EQ(run(), -11) << size;
    }
}

TEST_F(ModuleAbiTest, MissingAccountArray) {
    query.accounts = nullptr;
    EXPECT_EQ(run(), -5);
}

TEST_F(ModuleAbiTest, FirstAccountIsCheckedBeforeTheOtherFields) {
    accounts[0] = kWrongCheck;
    query.user = nullptr;
    query.days = 0;
    EXPECT_EQ(run(), -14);
    accounts[0] = u"7311111111111111111111111";
    EXPECT_EQ(run(), -14);
    accounts[0] = nullptr;
    EXPECT_EQ(run(), -14);
}

TEST_F(ModuleAbiTest, MissingFields) {
    query.user = nullptr;
    EXPECT_EQ(run(), -5);
    query.user = u"user";
    query.password = nullptr;
    EXPECT_EQ(run(), -5);
    query.password = u"secret";
    query.days = 0;
    EXPECT_EQ(run(), -5);
}

TEST_F(ModuleAbiTest, ValidationFailuresCallNoCallback) {
    query.days = 0;
    run();
    query.size = 0;
    run();
    EXPECT_EQ(gProgressCalls, 0);
}

TEST_F(ModuleAbiTest, TypeTable) {
    const int32_t* table = module.getIBType();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[0], 7);
    EXPECT_EQ(table[1], 19900003);
    EXPECT_EQ(table[2], 0);
    EXPECT_EQ(module.getIBType(), table);
}

struct InfoCase {
    int32_t type;
    std::u16string name;
};

class ModuleInfoTest : public ModuleAbiTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(ModuleInfoTest, NameFitsOnlyWithRoomForTheZero) {
    const std::u16string& name = GetParam().name;
    std::u16string buffer(64, u'#');
    std::u16string credit(2048, u'#');
    ModuleInfo info{sizeof(ModuleInfo), buffer.data(), static_cast<int32_t>(name.size()),
                    credit.data(), 2048};
    EXPECT_EQ(module.getIBInfo(GetParam().type, &info), 0);
    EXPECT_EQ(buffer, std::u16string(64, u'#'));

    info.nameCapacity = static_cast<int32_t>(name.size()) + 1;
    EXPECT_EQ(module.getIBInfo(GetParam().type, &info), 1);
    EXPECT_EQ(std::u16string(buffer.c_str()), name);
    EXPECT_EQ(std::u16string(credit.c_str()), u"Ostrel ib_tavro");
}

INSTANTIATE_TEST_SUITE_P(Directory, ModuleInfoTest,
                         ::testing::Values(InfoCase{7, u"Tavro Bank"}, InfoCase{5, u"Inteligo"},
                                           InfoCase{1, u"Bank Przemys\u0142owo-Handlowy"},
                                           InfoCase{12, u"Bank Ochrony Srodowiska"},
                                           InfoCase{17, u"PKO - Inteligo"},
                                           InfoCase{0, u"Nieznany Interface"},
                                           InfoCase{18, u"Nieznany Interface"},
                                           InfoCase{-1, u"Nieznany Interface"}));

TEST_F(ModuleAbiTest, SmallCreditBufferIsNotOverrun) {
    std::u16string name(64, u'#');
    std::u16string credit(8, u'#');
    ModuleInfo info{sizeof(ModuleInfo), name.data(), 64, credit.data(), 8};
    EXPECT_EQ(module.getIBInfo(7, &info), 0);
    EXPECT_EQ(credit, std::u16string(8, u'#'));
}

TEST_F(ModuleAbiTest, InfoWithoutRecord) {
    EXPECT_EQ(module.getIBInfo(7, nullptr), 0);
}

TEST(ModuleSymbols, ExportsExactlyTheFourFunctions) {
    const std::string command = std::string("nm -D --defined-only '") + IB_TAVRO_MODULE_PATH + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[1024];
    while (std::fgets(line, sizeof(line), pipe) != nullptr) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) {
            names.insert(name);
        }
    }
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_EQ(names,
              (std::set<std::string>{"QueryHistory", "getIBInfo", "getIBType", "setAbortFlag"}));
}
}  // namespace
