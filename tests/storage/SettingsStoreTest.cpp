// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <thread>

#include "SettingsBytes.h"
#include "SettingsStore.h"
#include "TempFolder.h"

using namespace settings_bytes;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path path = folder / "TavroHistory.config";
    SettingsStore store{path};
};

TEST_F(SettingsStoreTest, GetIntReportsWhetherTheKeyExists) {
    int32_t out = 0;
    EXPECT_EQ(store.GetInt(u"DLO/PastHist", 14, out), 0);
    EXPECT_EQ(out, 14);
    EXPECT_EQ(store.SetInt(u"DLO/PastHist", 3), 2);
    EXPECT_EQ(store.SetInt(u"DLO/PastHist", -7), 1);
    EXPECT_EQ(store.GetInt(u"DLO/PastHist", 14, out), 1);
    EXPECT_EQ(out, -7);
    EXPECT_EQ(store.GetInt(u"dlo/pasthist", 99), 99);  // keys are case-sensitive
    EXPECT_EQ(store.Entries().size(), 1u);
}

TEST_F(SettingsStoreTest, KeepsInsertionOrderAndClears) {
    store.SetInt(u"POS/X", 1);
    store.SetInt(u"POS/Y", 2);
    store.SetInt(u"POS/X", 3);
    const auto entries = store.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, u"POS/X");
    EXPECT_EQ(entries[1].key, u"POS/Y");
    store.Clear();
    EXPECT_TRUE(store.Entries().empty());
    EXPECT_EQ(store.GetInt(u"POS/X", 10), 10);
}

TEST_F(SettingsStoreTest, ExtremeIntegersSurviveAFile) {
    store.SetInt(u"Min", INT32_MIN);
    store.SetInt(u"Max", INT32_MAX);
    ASSERT_TRUE(store.Save());
    SettingsStore again(path);
    ASSERT_EQ(again.Load(), 2);
    EXPECT_EQ(again.GetInt(u"Min", 0), INT32_MIN);
    EXPECT_EQ(again.GetInt(u"Max", 0), INT32_MAX);
}

struct TextCase {
    std::u16string text;
    int32_t expected;
};

class TextValue : public SettingsStoreTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextValue, ConvertsLikeWideStringToLongWithBaseZero) {
    writeBytes(path, file({{u"T", 2, 2, utf16(GetParam().text)}}));
    ASSERT_EQ(store.Load(), 1);
    int32_t out = -99;
    EXPECT_EQ(store.GetInt(u"T", -99, out), 1);
    EXPECT_EQ(out, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextValue,
                         ::testing::Values(TextCase{u"0x10", 16}, TextCase{u"0X1f", 31},
                                           TextCase{u"010", 8}, TextCase{u"42", 42},
                                           TextCase{u"  \t-42", -42}, TextCase{u"+7", 7},
                                           TextCase{u"12abc", 12}, TextCase{u"abc", 0},
                                           TextCase{u"", 0}, TextCase{u"0x", 0}, TextCase{u"09", 0},
                                           TextCase{u"99999999999", INT32_MAX},
                                           TextCase{u"-99999999999", INT32_MIN},
                                           TextCase{std::u16string(u"5\0"
                                                                   u"7",
                                                                   3),
                                                    5}));

TEST_F(SettingsStoreTest, TextIsReadNoFurtherThanItsLength) {
    std::vector<uint8_t> value = utf16(u"12");
    value.push_back('3');  // an odd trailing byte is not a character
    writeBytes(path, file({{u"T", 2, 2, value}}));
    ASSERT_EQ(store.Load(), 1);
    EXPECT_EQ(store.GetInt(u"T", -1), 12);
}

TEST_F(SettingsStoreTest, SetIntOverTextMakesAPlainInteger) {
    writeBytes(path, file({{u"T", 2, 2 | 0x40, utf16(u"0x10")}}));
    ASSERT_EQ(store.Load(), 1);
    EXPECT_EQ(store.SetInt(u"T", 5), 1);
    const SettingEntry entry = store.Entries().at(0);
    EXPECT_EQ(entry.type, SettingEntry::Integer);
    EXPECT_EQ(entry.flags, 0u);
    EXPECT_EQ(entry.value, int32(5));
    EXPECT_EQ(store.GetInt(u"T", -1), 5);
}

TEST_F(SettingsStoreTest, UnknownTypeOrShortIntegerGivesTheDefault) {
    writeBytes(path, file({{u"Odd", 9, 2, int32(5)}, {u"Short", 1, 2, {1, 2}}}));
    ASSERT_EQ(store.Load(), 2);
    int32_t out = 0;
    EXPECT_EQ(store.GetInt(u"Odd", 77, out), 1);
    EXPECT_EQ(out, 77);
    EXPECT_EQ(store.GetInt(u"Short", 78, out), 1);
    EXPECT_EQ(out, 78);
}

TEST_F(SettingsStoreTest, SaveIntoAFolderThatCannotExistFails) {
    writeBytes(folder / "plain", {1});
    SettingsStore blocked(folder / "plain" / "TavroHistory.config");
    blocked.SetInt(u"A", 1);
    EXPECT_FALSE(blocked.Save());
}

// Stands in for a full disk: no file may grow past a few bytes while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

TEST_F(SettingsStoreTest, FailedSaveLeavesTheOldFileByteIdentical) {
    store.SetInt(u"POS/X", 10);
    ASSERT_TRUE(store.Save());
    const std::vector<uint8_t> before = readBytes(path);

    store.SetInt(u"POS/Y", 20);
    bool saved = true;
    {
        FileSizeLimit limit(60);
        saved = store.Save();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readBytes(path), before);
    // The half-written temporary file is gone.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    EXPECT_EQ(store.GetInt(u"POS/Y", -1), 20);  // memory is kept for a later try
    EXPECT_TRUE(store.Save());
}

TEST_F(SettingsStoreTest, TwoThreadsShareTheStore) {
    auto work = [this](char16_t prefix) {
        for (int i = 0; i < 300; ++i) {
            const std::u16string key = std::u16string(1, prefix) + u"/" + toU16(std::to_string(i));
            store.SetInt(key, i);
            EXPECT_EQ(store.GetInt(key, -1), i);
            store.GetInt(u"UseTondle", 0);
        }
    };
    std::thread other(work, u'W');
    work(u'U');
    other.join();
    EXPECT_EQ(store.Entries().size(), 600u);
}

}  // namespace
