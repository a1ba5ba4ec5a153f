#include "BankServer.h"
#include "CPluginLoader.h"
#include "DownloadWorker.h"
#include "JobPasswords.h"
#include "KeyringJobPasswords.h"
#include "KeyringReference.h"
#include "KeyringTestSupport.h"
#include "download/RecordingDownloadUi.h"

namespace {

std::u16string wide(const std::string& text) {
    return QString::fromStdString(text).toStdU16String();
}

int64_t operationsOf(sqlite3x::connection& con, const std::string& account) {
    sqlite3x::command cmd(con, "SELECT count(*) FROM transactions WHERE t_to_acc=?");
    cmd.bind_text(1, wide(account));
    return cmd.execute_int();
}

// The password comes from the keyring on the worker thread; a reference the keyring does not
// know (the file came from another computer) fails its job with one line, and the next job runs.
TEST_F(KeyringFixture, DownloadsWithThePasswordFromTheKeyringAndSkipsAnUnknownReference) {
    BankServer bank({"--accounts", "2", "--operations", "30", "--days", "60"});
    bank.installModule();
    std::vector<std::u16string> console;
    CPluginLoader loader([&](const std::u16string& line) { console.push_back(line); },
                         bank.folder());
    loader.ScanModules();
    const QString id = KeyringReference::newId();
    QString error;
    ASSERT_TRUE(keyring->store(id, QString::fromStdString(bank.user()),
                               QString::fromStdString(bank.password()), error));

    const auto job = [&](const QString& pass, const std::string& account) {
        DownloadJob j;
        j.user = wide(bank.user());
        j.password = pass.toStdU16String();
        j.accounts = {wide(account)};
        j.names = {u"Konto"};
        j.days = 90;
        return j;
    };
    RecordingDownloadUi ui;
    KeyringJobPasswords passwords;
    DownloadWorker worker({con, loader, *settings, ui, {}, &passwords});
    ASSERT_TRUE(worker.start(DownloadRun{
        {job(KeyringReference::referenceTo(KeyringReference::newId()), bank.accounts()[0]),
         job(KeyringReference::referenceTo(id), bank.accounts()[1])}}));
    worker.join();

    EXPECT_EQ(ui.warnings,
              std::vector<std::u16string>{JobPasswords::MissingText(wide(bank.user()))});
    EXPECT_EQ(operationsOf(con, bank.accounts()[0]), 0);
    EXPECT_GT(operationsOf(con, bank.accounts()[1]), 0);
    const QString password = QString::fromStdString(bank.password());
    EXPECT_FALSE(anyFileHolds(folder(), password));
    console.insert(console.end(), ui.console.begin(), ui.console.end());
    for (const std::u16string& line : console) {
        EXPECT_FALSE(QString::fromStdU16String(line).contains(password));
    }
}

}  // namespace
