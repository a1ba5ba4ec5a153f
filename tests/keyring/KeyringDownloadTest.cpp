// SPDX-License-Identifier: GPL-3.0-or-later
#include "BankServer.h"
#include "CPluginLoader.h"
#include "DownloadWorker.h"
#include "KeyringJobPasswords.h"
#include "KeyringReference.h"
#include "KeyringTestSupport.h"
#include "download/RecordingDownloadUi.h"

namespace {

std::u16string wide(const std::string& text) {
    return QString::fromStdString(text).toStdU16String();
}

// The password comes from the keyring on the worker thread; a reference the keyring does not
// know (the file came from another computer) fails its job with one line, and the next job runs.
TEST_F(KeyringFixture, DownloadsWithThePasswordFromTheKeyringAndSkipsAnUnknownReference) {
    BankServer bank({"--accounts", "2", "--operations", "30", "--days", "60"});
    bank.installModule();
    CPluginLoader loader({}, bank.folder());
    loader.ScanModules();
    const QString id = KeyringReference::newId(),
                  password = QString::fromStdString(bank.password());
    QString error;
    ASSERT_TRUE(keyring->store(id, QString::fromStdString(bank.user()), password, error));
    DownloadRun run;
    for (const QString& pass : {KeyringReference::newId(), id}) {
        run.jobs.push_back({wide(bank.user()),
                            KeyringReference::referenceTo(pass).toStdU16String(),
                            {wide(bank.accounts()[run.jobs.size()])},
                            {u"Konto"},
                            90});
    }
    RecordingDownloadUi ui;
    KeyringJobPasswords passwords;
    DownloadWorker worker({con, loader, *settings, ui, {}, &passwords});
    ASSERT_TRUE(worker.start(std::move(run)));
    worker.join();

    EXPECT_EQ(ui.warnings, std::vector<std::u16string>{u"Brak hasła w portfelu systemowym dla '" +
                                                       wide(bank.user()) +
                                                       u"': wpisz je ponownie w liście kont."});
    const auto stored = [&](int account) {
        sqlite3x::command cmd(con, "SELECT count(*) FROM transactions WHERE t_to_acc=?");
        cmd.bind_text(1, wide(bank.accounts()[account]));
        return cmd.execute_int();
    };
    EXPECT_EQ(stored(0), 0);
    EXPECT_GT(stored(1), 0);
    EXPECT_FALSE(anyFileHolds(folder(), password));
}

}  // namespace
