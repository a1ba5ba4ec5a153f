#include <sstream>

#include "DownloadJobBuilder.h"
#include "KeyringReference.h"
#include "KeyringTestSupport.h"
#include "MessageBox.h"
#include "PasswordMigrationOffer.h"
#include "PasswordsCommand.h"

namespace {

const AccountText kSharedA{"61123456780000000000000001", "jan", "Konto A", "Tajne-Haslo-1"};
const AccountText kSharedB{"61123456780000000000000002", "jan", "Konto B", "Tajne-Haslo-1"};
const AccountText kOther{"61123456780000000000000003", "ola", "Konto C", "Inne-Haslo-2"};
const AccountText kNoPassword{"61123456780000000000000004", "ewa", "Konto D", ""};

class MigrationTest : public KeyringFixture {
protected:
    void SetUp() override {
        KeyringFixture::SetUp();
        for (const AccountText& account : {kSharedA, kSharedB, kOther, kNoPassword}) {
            insert(account);
        }
    }
    // The file after the move: one item per log-on, nothing of the passwords left in any file.
    void expectMoved() {
        const QStringList after = passes();
        ASSERT_EQ(after.size(), 4);
        EXPECT_EQ(after[0], after[1]);
        EXPECT_NE(after[0], after[2]);
        EXPECT_EQ(after[3], QString());
        QString error;
        for (int i : {0, 2}) {
            ASSERT_TRUE(KeyringReference::isReference(after[i])) << after[i].toStdString();
            const QString id = KeyringReference::idOf(after[i]);
            EXPECT_EQ(keyring->lookup(id, error), i == 0 ? kSharedA.pass : kOther.pass);
            EXPECT_EQ(keyringLabel(id),
                      i == 0 ? QStringLiteral("Tavro: jan") : QStringLiteral("Tavro: ola"));
        }
        settings->Save();
        for (const QString& password : {kSharedA.pass, kOther.pass}) {
            EXPECT_FALSE(anyFileHolds(folder(), password)) << password.toStdString();
            EXPECT_FALSE(anyFileHolds(PrivateKeyring::shared().home(), password));
        }
    }
};

class MigrationAnswer : public MigrationTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MigrationAnswer, AsksOnceAndMovesOnlyOnYes) {
    const bool yes = GetParam();
    ScopedMessageBoxHandler boxes(MessageBox::Answer::No);
    if (yes) {
        boxes.queueAnswer(MessageBox::Answer::Yes);
    }
    PasswordMigrationOffer::run(con, nullptr);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].text, PasswordMigrationOffer::questionText());
    EXPECT_TRUE(boxes.calls()[0].text.contains(QStringLiteral("starsza wersja Tavro")));
    if (yes) {
        expectMoved();
        // Accounts that share a log-on still make one job.
        const auto jobs =
            DownloadJobBuilder::GroupByLogOn(DownloadJobBuilder::ReadAccountsByName(con), 7);
        ASSERT_EQ(jobs.size(), 3u);
        EXPECT_EQ(jobs[0].accounts.size(), 2u);
    } else {
        EXPECT_EQ(passes(), QStringList({kSharedA.pass, kSharedB.pass, kOther.pass, QString()}));
        EXPECT_EQ(settings->GetInt(PasswordPlace::kDeclinedKey, 0), 1);
        EXPECT_EQ(PasswordPlace::reason(), PasswordPlace::Reason::Declined);
    }
    // Moved or declined, the question does not come back.
    PasswordMigrationOffer::run(con, nullptr);
    EXPECT_EQ(boxes.calls().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Answers, MigrationAnswer, ::testing::Bool());

TEST_F(MigrationTest, CommandMovesWithoutAWindowAndForgetsAnEarlierNo) {
    settings->SetInt(PasswordPlace::kDeclinedKey, 1);
    settings->Save();
    const std::string lock = "tavro-keyring-test-" + std::to_string(::getpid());
    for (int run = 0; run < 2; ++run) {
        std::ostringstream err;
        EXPECT_EQ(PasswordsCommand::Run(err, lock), 0) << err.str();
        EXPECT_EQ(err.str(), "");
    }
    settings->Load();
    EXPECT_EQ(settings->GetInt(PasswordPlace::kDeclinedKey, 0), 0);
    expectMoved();
}

// A keyring that refuses changes nothing, in the table or the keyring.
TEST_F(MigrationTest, ARefusingKeyringLeavesThePasswordsInTheTable) {
    RefusingKeyring refusing;
    PasswordPlace::use(&refusing, false);
    ScopedMessageBoxHandler boxes(MessageBox::Answer::Ok);
    boxes.queueAnswer(MessageBox::Answer::Yes);
    PasswordMigrationOffer::run(con, nullptr);
    ASSERT_EQ(boxes.calls().size(), 2u);
    EXPECT_TRUE(boxes.lastText().contains(QStringLiteral("prompt dismissed")));
    EXPECT_EQ(passes(), QStringList({kSharedA.pass, kSharedB.pass, kOther.pass, QString()}));
}

}  // namespace
