// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ctime>
#include <ostream>

#include "SettingsBytes.h"
#include "SettingsCipher.h"
#include "SettingsStore.h"
#include "TempFolder.h"
#include "support/FileSizeLimit.h"

using namespace settings_bytes;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path path = folder / "TavroHistory.config";

    // Writes the bytes, loads them into a fresh store and returns it.
    int32_t load(SettingsStore& store, const std::vector<uint8_t>& bytes) {
        writeBytes(store.path(), bytes);
        return store.Load();
    }
};

TEST_F(SettingsFile, SingleIntegerMakesTheEightyByteFile) {
    SettingsStore store(path);
    store.SetInt(u"POS/X", 10);
    const int64_t before = std::time(nullptr);
    ASSERT_TRUE(store.Save());
    const int64_t after = std::time(nullptr);

    const std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 80u);
    const std::vector<uint8_t> expected = {'Z',  0,    'E',  0,    'L', 0, '2', 0, 'S', 0,
                                           'D',  0,    'B',  0,    '2', 0, '0', 0, 0,   0,  // magic
                                           1,    0,    0,    0,                             // count
                                           0,    0,    0,    0,    0,   0, 0,   0,          // time
                                           0,    0,    0,    0,    0,   0, 0,   0, 0,   0,
                                           0,    0,    0,    0,    0,   0,  // zeros
                                           10,   0,    4,    0,    1,   2, 0,   0, 0,   0xAA,
                                           0x78, 0x3F, 0xF9, 0x4E, 0,   0, 0,   0,  // record
                                           'P',  0,    'O',  0,    'S', 0, '/', 0, 'X', 0,  // key
                                           10,   0,    0,    0};                            // value
    EXPECT_EQ(withoutTime(bytes), expected);

    int64_t written = 0;
    for (int i = 7; i >= 0; --i) {
        written = (written << 8) | bytes[24 + i];
    }
    EXPECT_GE(written, before);
    EXPECT_LE(written, after);
}

TEST_F(SettingsFile, LoadThenSaveGivesTheSameBytes) {
    const std::vector<uint8_t> original =
        file({{u"POS/X", 1, 2, int32(10)},
              {u"Name", 2, 2, utf16(u"zażółć")},
              {u"Secret", 1, 3, SettingsCipher::encipher(int32(77))},
              {u"Odd", 9, 2 | 0x100, {1, 2, 3}},
              {u"COL/0", 1, 2, int32(-1)}});
    SettingsStore store(path);
    ASSERT_EQ(load(store, original), 5);
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(withoutTime(readBytes(path)), withoutTime(original));
}

TEST_F(SettingsFile, CipherIsAes256EcbWithPkcs7Padding) {
    // Known answers for the program's key.
    EXPECT_EQ(SettingsCipher::encipher(int32(10)),
              (std::vector<uint8_t>{0xbb, 0x7a, 0x4b, 0xa1, 0x72, 0x4f, 0xef, 0xaa, 0x7a, 0x1f,
                                    0x83, 0x1d, 0x99, 0x0b, 0x15, 0xbe}));
    EXPECT_EQ(SettingsCipher::encipher({}),
              (std::vector<uint8_t>{0xf8, 0x22, 0x3e, 0x6b, 0x06, 0x52, 0x03, 0xd3, 0x44, 0x37,
                                    0x89, 0x8d, 0xaf, 0xf2, 0x1c, 0x0f}));
    for (size_t n : {0u, 1u, 15u, 16u, 17u, 100u}) {
        const std::vector<uint8_t> plain(n, 0x5c);
        const auto stored = SettingsCipher::encipher(plain);
        EXPECT_EQ(stored.size(), 16 * (n / 16 + 1));
        EXPECT_EQ(SettingsCipher::decipher(stored), plain);
    }
}

class ForeignMagic : public SettingsFile, public ::testing::WithParamInterface<int> {};

TEST_P(ForeignMagic, LoadsEmpty) {
    std::vector<uint8_t> bytes = file({{u"POS/X", 1, 2, int32(10)}});
    bytes[GetParam()] ^= 0x01;
    SettingsStore store(path);
    store.SetInt(u"Before", 1);  // loading replaces what was there
    EXPECT_EQ(load(store, bytes), 0);
    EXPECT_EQ(store.GetInt(u"POS/X", -5), -5);
    EXPECT_TRUE(store.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryMagicByte, ForeignMagic, ::testing::Range(0, 20));

TEST_F(SettingsFile, MissingOrShortFileLoadsEmpty) {
    SettingsStore store(path);
    EXPECT_EQ(store.Load(), 0);
    std::vector<uint8_t> bytes = header(0);
    bytes.pop_back();
    EXPECT_EQ(load(store, bytes), 0);
    EXPECT_EQ(load(store, header(5)), 0);
}

TEST_F(SettingsFile, DamagedValueIsDroppedOnlyUnderTheCrcFlag) {
    std::vector<uint8_t> bytes = header(3);
    append(bytes, {u"Checked", 1, 2, int32(1), 0xAA, false});
    append(bytes, {u"Unchecked", 1, 0, int32(2), 0xAA, false});
    append(bytes, {u"After", 1, 2, int32(3)});
    SettingsStore store(path);
    EXPECT_EQ(load(store, bytes), 2);
    int32_t out = 0;
    EXPECT_EQ(store.GetInt(u"Checked", -1, out), 0);
    EXPECT_EQ(store.GetInt(u"Unchecked", -1), 2);
    EXPECT_EQ(store.GetInt(u"After", -1), 3);
}

TEST_F(SettingsFile, RecordWithoutMarkerIsSkippedByItsLengths) {
    SettingsStore store(path);
    EXPECT_EQ(load(store, file({{u"Skipped", 1, 2, int32(1), 0x55}, {u"Kept", 1, 2, int32(2)}})),
              1);
    EXPECT_EQ(store.GetInt(u"Skipped", -1), -1);
    EXPECT_EQ(store.GetInt(u"Kept", -1), 2);
}

TEST_F(SettingsFile, ExtensionBytesAfterTheHeaderAreSkipped) {
    std::vector<uint8_t> bytes = header(1, 0, 6);
    bytes.insert(bytes.end(), {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA});
    append(bytes, {u"POS/Y", 1, 2, int32(33)});
    SettingsStore store(path);
    EXPECT_EQ(load(store, bytes), 1);
    EXPECT_EQ(store.GetInt(u"POS/Y", -1), 33);
}

// Files cut or lying about their lengths keep the records before the damage.
struct CutCase {
    const char* name;
    std::vector<uint8_t> tail;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class CutFile : public SettingsFile, public ::testing::WithParamInterface<CutCase> {};

TEST_P(CutFile, LoadsWhatPrecedes) {
    std::vector<uint8_t> bytes = file({{u"A", 1, 2, int32(1)}, {u"B", 1, 2, int32(2)}});
    bytes.insert(bytes.end(), GetParam().tail.begin(), GetParam().tail.end());
    SettingsStore store(path);
    EXPECT_EQ(load(store, bytes), 2);
    EXPECT_EQ(store.GetInt(u"A", -1), 1);
    EXPECT_EQ(store.GetInt(u"B", -1), 2);
}

std::vector<uint8_t> recordBytes(const Record& r, size_t keep) {
    std::vector<uint8_t> out;
    append(out, r);
    out.resize(keep);
    return out;
}

std::vector<uint8_t> claiming(uint16_t keyLength, uint16_t valueLength, uint8_t marker) {
    std::vector<uint8_t> out;
    put(out, keyLength, 2);
    put(out, valueLength, 2);
    put(out, 1, 1);
    put(out, 0, 4);
    put(out, marker, 1);
    put(out, 0, 8);
    out.insert(out.end(), {'C', 0, 1, 0, 0, 0});
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Tails, CutFile,
    ::testing::Values(CutCase{"HalfHeader", recordBytes({u"C", 1, 0, int32(3)}, 9)},
                      CutCase{"HeaderOnly", recordBytes({u"C", 1, 0, int32(3)}, 18)},
                      CutCase{"ShortValue", recordBytes({u"C", 1, 0, int32(3)}, 22)},
                      CutCase{"ValueClaims65535", claiming(2, 65535, 0xAA)},
                      CutCase{"KeyClaims65535", claiming(65535, 4, 0xAA)},
                      CutCase{"UnmarkedClaims65535", claiming(65535, 65535, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, EncipheredIntegerRoundTripsAndStaysEnciphered) {
    SettingsStore store(path);
    ASSERT_EQ(load(store, file({{u"PIN", 1, 3, SettingsCipher::encipher(int32(1234))}})), 1);
    EXPECT_EQ(store.GetInt(u"PIN", -1), 1234);
    EXPECT_EQ(store.SetInt(u"PIN", 4321), 1);
    ASSERT_TRUE(store.Save());

    const std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 48u + 18u + 6u + 16u);
    EXPECT_EQ(bytes[48 + 2], 16);  // stored length
    EXPECT_EQ(bytes[48 + 5], 3);   // flags: enciphered, CRC
    const std::vector<uint8_t> stored(bytes.end() - 16, bytes.end());
    EXPECT_EQ(stored, SettingsCipher::encipher(int32(4321)));
    EXPECT_EQ(bytes[48 + 10], crcOf(stored) & 0xFF);

    SettingsStore again(path);
    EXPECT_EQ(again.Load(), 1);
    EXPECT_EQ(again.GetInt(u"PIN", -1), 4321);
    EXPECT_EQ(again.Entries()[0].value, int32(4321));  // plain in memory
}

TEST_F(SettingsFile, UndecipherableValueIsDropped) {
    std::vector<uint8_t> badPadding = SettingsCipher::encipher(int32(5));
    badPadding.insert(badPadding.end(), 16, 0);  // a last block of zeros cannot be padding
    SettingsStore store(path);
    EXPECT_EQ(load(store, file({{u"NotBlocks", 1, 3, {1, 2, 3, 4, 5}},
                                {u"BadPad", 1, 3, badPadding},
                                {u"Ok", 1, 3, SettingsCipher::encipher(int32(6))}})),
              1);
    EXPECT_EQ(store.GetInt(u"Ok", -1), 6);
    EXPECT_EQ(store.GetInt(u"BadPad", -1), -1);
}

TEST_F(SettingsFile, WritingClearsFlagFourSetsFlagTwoAndKeepsOtherBits) {
    SettingsStore store(path);
    store.PutEntry({u"K", 1, 4 | 0x80, int32(1)});
    ASSERT_TRUE(store.Save());
    const std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 48u + 18u + 2u + 4u);
    EXPECT_EQ(bytes[48 + 5], 2 | 0x80);
    EXPECT_EQ(store.Entries()[0].flags, 4u | 0x80u);  // memory is not changed by saving
}

TEST_F(SettingsFile, EmptyKeyOrValueIsNotWrittenButCounted) {
    SettingsStore store(path);
    store.PutEntry({u"", 1, 0, int32(1)});
    store.SetInt(u"POS/X", 10);
    store.PutEntry({u"Empty", 2, 0, {}});
    ASSERT_TRUE(store.Save());
    const std::vector<uint8_t> bytes = readBytes(path);
    EXPECT_EQ(bytes.size(), 80u);
    EXPECT_EQ(bytes[20], 3);
    SettingsStore again(path);
    EXPECT_EQ(again.Load(), 1);
}

TEST_F(SettingsFile, SavedFileIsPrivateAndReplacesALooserOne) {
    writeBytes(path, {1, 2, 3});
    std::filesystem::permissions(path, std::filesystem::perms(0644));
    SettingsStore store(path);
    store.SetInt(u"A", 1);
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(fileMode(path), 0600u);
    // Nothing but the settings file is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST_F(SettingsFile, SaveClearsTemporaryFilesOfAnInterruptedSave) {
    writeBytes(folder / ".TavroHistory.config.a1B2c3", {1, 2});
    writeBytes(folder / ".TavroHistory.config.keep", {3});
    writeBytes(folder / "other.config", {4});
    SettingsStore store(path);
    store.SetInt(u"A", 1);
    ASSERT_TRUE(store.Save());
    EXPECT_FALSE(std::filesystem::exists(folder / ".TavroHistory.config.a1B2c3"));
    EXPECT_TRUE(std::filesystem::exists(folder / ".TavroHistory.config.keep"));
    EXPECT_TRUE(std::filesystem::exists(folder / "other.config"));
}

// A full disk at every stage of the save: nothing written, a part written, all but the last
// byte. The old file stays byte for byte, and no temporary file is left behind.
class SettingsFullDisk : public SettingsFile, public ::testing::WithParamInterface<double> {};

TEST_P(SettingsFullDisk, OldFileStaysByteIdentical) {
    SettingsStore store(path);
    store.SetInt(u"POS/X", 10);
    ASSERT_TRUE(store.Save());
    const std::vector<uint8_t> old = readBytes(path);
    for (int i = 0; i < 200; ++i) {
        store.SetInt(u"KEY/" + toU16(std::to_string(i)), i);
    }
    SettingsStore twin(folder / "twin.config");
    for (const SettingEntry& entry : store.Entries()) {
        twin.PutEntry(entry);
    }
    ASSERT_TRUE(twin.Save());
    const auto newSize = std::filesystem::file_size(folder / "twin.config");
    std::filesystem::remove(folder / "twin.config");
    {
        FileSizeLimit full(static_cast<rlim_t>(static_cast<double>(newSize - 1) * GetParam()));
        EXPECT_FALSE(store.Save());
    }
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_TRUE(store.Save()) << "room again: the save succeeds";
}

INSTANTIATE_TEST_SUITE_P(Limits, SettingsFullDisk, ::testing::Values(0.0, 0.001, 0.5, 1.0),
                         [](const auto& info) {
                             return "Permille" +
                                    std::to_string(static_cast<int>(info.param * 1000));
                         });

}  // namespace
