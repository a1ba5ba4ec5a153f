// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CPluginLoader.h"
#include "DownloadJob.h"
#include "DownloadWorker.h"
#include "RecordingDownloadUi.h"
#include "SettingsStore.h"
#include "TestFolder.h"
#include "sqlite3x.h"

// Accounts served by the scripted module (routing number 12345678).
inline const std::u16string kAccountA = u"61123456780000000000000001";
inline const std::u16string kAccountB = u"61123456780000000000000002";
inline const std::string kAccountA8 = "61123456780000000000000001";
inline const std::string kAccountB8 = "61123456780000000000000002";

// One stored row of transactions.
struct StoredRow {
    int64_t id = 0;
    std::u16string fromAcc, fromName, desc, toAcc, user;
    double amount = 0;
    int32_t tid = 0, tio = 0, kind = 0;
    int64_t date1 = 0, date2 = 0;
};

// A worker with the scripted module, a real database file and a settings store in a
// private folder.
class WorkerFixture : public ::testing::Test {
protected:
    WorkerFixture();
    ~WorkerFixture() override;

    // Writes the script the scripted module plays for this user.
    void script(const std::string& user, const std::vector<std::string>& lines);
    static std::string op(int32_t tid, double amount, const std::string& name = "Kontrahent",
                          const std::string& title = "Tytuł", const std::string& cpAccount = "");
    static DownloadJob job(const std::u16string& user, std::vector<std::u16string> accounts,
                           std::vector<std::u16string> names = {u"Konto"});
    // Starts the run and waits for its end.
    void download(std::vector<DownloadJob> jobs);
    std::vector<StoredRow> rows();
    // Lines of calls.log: one per module call ("user days count first").
    std::vector<std::string> calls();

    TestFolder m_folder;
    sqlite3x::connection m_db;
    SettingsStore m_settings;
    RecordingDownloadUi m_ui;
    CPluginLoader m_loader;
    std::vector<std::pair<std::u16string, std::u16string>> m_notes;
    bool m_realMessenger = false;
    std::unique_ptr<DownloadWorker> m_worker;
};
