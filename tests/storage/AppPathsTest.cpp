// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

#include "AppPaths.h"
#include "TempFolder.h"

namespace {

// Sets or removes a variable for one test and puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        set(value);
    }
    ~ScopedEnv() { set(m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_name, value->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

struct RuleCase {
    const char* name;
    std::optional<std::string> appdata;
    std::optional<std::string> xdg;
    std::string expected;  // with HOME=/home/tester
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

class FolderRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(FolderRule, PicksTheFirstSetVariable) {
    ScopedEnv home("HOME", "/home/tester");
    ScopedEnv appdata("appdata", GetParam().appdata);
    ScopedEnv xdg("XDG_DATA_HOME", GetParam().xdg);
    EXPECT_EQ(AppPaths::dataFolder(), std::filesystem::path(GetParam().expected));
    EXPECT_EQ(AppPaths::settingsFile(),
              std::filesystem::path(GetParam().expected + "/TavroHistory.config"));
    EXPECT_EQ(AppPaths::databaseFile(),
              std::filesystem::path(GetParam().expected + "/masterDatabase.sq3"));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FolderRule,
    ::testing::Values(RuleCase{"AppData", "/a/b", "/x", "/a/b/TavroHistory"},
                      RuleCase{"AppDataOnly", "/a", std::nullopt, "/a/TavroHistory"},
                      RuleCase{"Xdg", std::nullopt, "/x/data", "/x/data/TavroHistory"},
                      RuleCase{"EmptyAppDataFallsThrough", "", "/x", "/x/TavroHistory"},
                      RuleCase{"Home", std::nullopt, std::nullopt,
                               "/home/tester/.local/share/TavroHistory"},
                      RuleCase{"EmptyXdgFallsThrough", std::nullopt, "",
                               "/home/tester/.local/share/TavroHistory"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppPaths, DatabasePathInUtf16KeepsPolishLetters) {
    ScopedEnv appdata("appdata", "/tmp/Łódź");
    EXPECT_EQ(AppPaths::databaseFileU16(), u"/tmp/Łódź/TavroHistory/masterDatabase.sq3");
}

TEST(AppPaths, DataFolderIsCreatedPrivateWithItsParents) {
    TempFolder folder;
    ScopedEnv appdata("appdata", (folder / "deep/er").string());
    ASSERT_TRUE(AppPaths::ensureDataFolder());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "deep/er/TavroHistory"));
    EXPECT_EQ(fileMode(AppPaths::dataFolder()), 0700u);
    EXPECT_TRUE(AppPaths::ensureDataFolder());  // an existing folder is fine
}

TEST(AppPaths, LooserExistingFolderIsNarrowed) {
    TempFolder folder;
    ScopedEnv appdata("appdata", folder.path().string());
    std::filesystem::create_directory(folder / "TavroHistory");
    std::filesystem::permissions(folder / "TavroHistory", std::filesystem::perms(0755));
    ASSERT_TRUE(AppPaths::ensureDataFolder());
    EXPECT_EQ(fileMode(AppPaths::dataFolder()), 0700u);
}

TEST(AppPaths, AFileInThePlaceOfTheFolderFails) {
    TempFolder folder;
    ScopedEnv appdata("appdata", folder.path().string());
    writeBytes(folder / "TavroHistory", {1});
    EXPECT_FALSE(AppPaths::ensureDataFolder());
}

}  // namespace
