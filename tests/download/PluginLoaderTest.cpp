// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "BankComboSink.h"
#include "CPluginLoader.h"
#include "TestFolder.h"

namespace {

class PluginLoaderTest : public ::testing::Test {
protected:
    PluginLoaderTest()
        : m_loader(
              [this](const std::u16string& line) {
                  std::lock_guard<std::mutex> guard(m_consoleLock);
                  m_console.push_back(line);
              },
              m_folder.path()) {}

    void scan(std::initializer_list<const char*> modules) {
        for (const char* module : modules) {
            m_folder.addModule(module);
        }
        m_loader.ScanModules();
        m_console.clear();
    }

    bool logged(const std::u16string& line) const {
        return std::find(m_console.begin(), m_console.end(), line) != m_console.end();
    }

    TestFolder m_folder;
    std::mutex m_consoleLock;  // the worker thread and the cancelling thread both log
    std::vector<std::u16string> m_console;
    CPluginLoader m_loader;
};

bool startsWith(const std::u16string& text, const std::u16string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::u16string& text, const std::u16string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TEST_F(PluginLoaderTest, ScanLogsEveryFileAndKeepsThoseWithTheEntryPoint) {
    m_folder.addModule("first_bank");
    m_folder.addModule("second_bank");
    m_folder.addModule("no_entry");
    m_folder.addModule("null_table");
    m_folder.write("banki/broken.module", "not a library");
    m_folder.write("banki/readme.txt", "ignored");
    m_loader.ScanModules();

    const auto& c = m_console;
    ASSERT_EQ(c.size(), 11u);
    EXPECT_EQ(c[0], u"\tPlugin (broken.module, \tePoint @00000000, \tType: -1)");
    EXPECT_EQ(c[1], u"\t --- Odrzucam, brak punktu wejscia!");
    EXPECT_TRUE(startsWith(c[2], u"\tPlugin (first_bank.module, \tePoint @")) << c.size();
    EXPECT_TRUE(endsWith(c[2], u", \tType: 3)"));
    EXPECT_EQ(c[2].find(u"@00000000,"), std::u16string::npos) << "the entry point is shown";
    EXPECT_EQ(c[3], u"\t --- extension: 10201026");
    EXPECT_EQ(c[4], u"\t --- extension: 24100000");
    EXPECT_EQ(c[5], u"\tPlugin (no_entry.module, \tePoint @00000000, \tType: -1)");
    EXPECT_EQ(c[6], u"\t --- Odrzucam, brak punktu wejscia!");
    EXPECT_TRUE(startsWith(c[7], u"\tPlugin (null_table.module, \tePoint @"));
    EXPECT_TRUE(endsWith(c[7], u", \tType: -1)"));
    EXPECT_TRUE(startsWith(c[8], u"\tPlugin (second_bank.module, \tePoint @"));
    EXPECT_EQ(c[9], u"\t --- extension: 10201026");

    const auto& modules = m_loader.modules();
    ASSERT_EQ(modules.size(), 3u);
    EXPECT_EQ(modules[0].fileName, "first_bank.module");
    EXPECT_EQ(modules[0].routingNumbers, (std::vector<int32_t>{10201026, 24100000}));
    EXPECT_EQ(modules[1].fileName, "null_table.module");
    EXPECT_EQ(modules[1].type, -1);
    EXPECT_TRUE(modules[1].routingNumbers.empty());
    EXPECT_EQ(modules[2].type, 4);
}

TEST_F(PluginLoaderTest, EmptyFolderFindsNothing) {
    std::filesystem::remove(m_folder.banki());
    m_loader.ScanModules();
    EXPECT_TRUE(m_loader.modules().empty());
    int32_t result = 55;
    EXPECT_FALSE(m_loader.RunQueryHistory(3, nullptr, &result));
    EXPECT_EQ(result, 55);
}

struct DetectCase {
    const char16_t* number;
    int32_t type;
    const char16_t* errorLine;  // null when the number has the right length
};

class DetectModuleTypeTest : public PluginLoaderTest,
                             public ::testing::WithParamInterface<DetectCase> {};

TEST_P(DetectModuleTypeTest, ChoosesByRoutingNumber) {
    scan({"second_bank", "first_bank", "null_table"});
    const DetectCase& c = GetParam();
    EXPECT_EQ(m_loader.DetectModuleType(c.number), c.type);
    if (c.errorLine) {
        EXPECT_EQ(m_console, std::vector<std::u16string>{c.errorLine});
    }
}

INSTANTIATE_TEST_SUITE_P(Numbers, DetectModuleTypeTest,
                         ::testing::Values(
                             // The same routing number in two modules: the first by name wins.
                             DetectCase{u"61 1020 1026 0000 0422 7020 1111", 3, nullptr},
                             DetectCase{u"61241000000000042270201111", 3, nullptr},
                             DetectCase{u"61999999990000042270201111", -1, nullptr},
                             DetectCase{u"PL61 1020 1026 0000 0422 7020 1111", -1,
                                        u"Account Error: [PL61102010260000042270201111]"},
                             DetectCase{u"61-1020-1026-0000-0422-7020-1111", -1,
                                        u"Account Error: [61-1020-1026-0000-0422-7020-1111]"},
                             DetectCase{u"", -1, u"Account Error: []"}));

TEST_F(PluginLoaderTest, DetectionTracesTheModulesItTries) {
    scan({"first_bank", "second_bank"});
    EXPECT_EQ(m_loader.DetectModuleType(u"61241000000000042270201111"), 3);
    EXPECT_EQ(m_console,
              (std::vector<std::u16string>{u"A_EXT: first_bank.module", u"A_EXT: first_bank.module",
                                           u"AAEXT: first_bank.module"}));
}

TEST_F(PluginLoaderTest, RunCallsTheFirstModuleOfTheType) {
    scan({"first_bank", "second_bank", "null_table"});
    HistoryQuery query{};
    int32_t result = 55;
    EXPECT_TRUE(m_loader.RunQueryHistory(4, &query, &result));
    EXPECT_EQ(result, 4);
    EXPECT_EQ(m_console,
              (std::vector<std::u16string>{u"QueryHistory Call",
                                           u"\t --- lib: second_bank.module, returned: 4"}));

    result = 55;
    EXPECT_FALSE(m_loader.RunQueryHistory(8, &query, &result));
    // -1 means "no bank matched"; a module without a type table must not get the log-on.
    EXPECT_FALSE(m_loader.RunQueryHistory(-1, &query, &result));
    EXPECT_EQ(result, 55);
}

TEST_F(PluginLoaderTest, ModuleGoneSinceTheScanCallsNothing) {
    scan({"first_bank"});
    std::filesystem::remove(m_folder.banki() / "first_bank.module");
    int32_t result = 55;
    EXPECT_TRUE(m_loader.RunQueryHistory(3, nullptr, &result));
    EXPECT_EQ(result, 55);
    EXPECT_TRUE(m_console.empty());
}

class RecordingCombo : public BankComboSink {
public:
    void clear() override { items.clear(); }
    void addItem(const std::u16string& text, int32_t data) override {
        items.emplace_back(text, data);
    }
    std::vector<std::pair<std::u16string, int32_t>> items{{u"stale", 99}};
};

TEST_F(PluginLoaderTest, BankComboListsModulesThatNameTheirBank) {
    scan({"first_bank", "second_bank", "null_table"});
    RecordingCombo combo;
    EXPECT_EQ(m_loader.FillBankCombo(combo), 3);
    EXPECT_EQ(combo.items, (std::vector<std::pair<std::u16string, int32_t>>{
                               {u"Autodetekcja", 0}, {u"Pierwszy bank", 3}, {u"Drugi bank", 4}}));
}

TEST_F(PluginLoaderTest, CancelWithNothingRunningReturnsFalse) {
    scan({"blocking"});
    EXPECT_FALSE(m_loader.AbortRunningModule());
    EXPECT_TRUE(m_console.empty());
}

TEST_F(PluginLoaderTest, CancelDuringRunMakesTheModuleReturnCancelled) {
    scan({"blocking"});
    int32_t result = 0;
    std::thread worker([&] { m_loader.RunQueryHistory(9, nullptr, &result); });
    while (!m_loader.AbortRunningModule()) {
        std::this_thread::yield();
    }
    worker.join();
    EXPECT_EQ(result, ResultCode::Cancelled);
    EXPECT_NE(std::find(m_console.begin(), m_console.end(), u"ABORT Call"), m_console.end());
    EXPECT_NE(std::find(m_console.begin(), m_console.end(), u"\t --- result: 1"), m_console.end());
}

// A cancel that reads the running module just before it is unloaded must never call into
// an unloaded library; under the sanitizers a lost race would crash here.
TEST(PluginLoaderRaceTest, UnloadingNeverRacesACancel) {
    TestFolder folder;
    folder.addModule("blocking");
    CPluginLoader loader(nullptr, folder.path());
    loader.ScanModules();
    setenv("TAVRO_BLOCK_US", "20", 1);
    std::atomic<bool> done{false};
    std::atomic<int32_t> aborts{0};
    std::thread canceller([&] {
        while (!done) {
            aborts += loader.AbortRunningModule() ? 1 : 0;
        }
    });
    for (int i = 0; i < 300; ++i) {
        int32_t result = 1;
        ASSERT_TRUE(loader.RunQueryHistory(9, nullptr, &result));
        ASSERT_TRUE(result == 0 || result == ResultCode::Cancelled) << result;
    }
    done = true;
    canceller.join();
    unsetenv("TAVRO_BLOCK_US");
    EXPECT_GT(aborts.load(), 0);
}

}  // namespace
