// SPDX-License-Identifier: GPL-3.0-or-later
#include <sstream>

#include "DownloadJobBuilder.h"
#include "KeyringReference.h"
#include "KeyringTestSupport.h"
#include "MessageBox.h"
#include "PasswordMigrationOffer.h"
#include "PasswordsCommand.h"

namespace {

const QString kShared = QStringLiteral("Tajne-Haslo-1"), kOther = QStringLiteral("Inne-Haslo-2");
const QStringList kPlain = {kShared, kShared, kOther, QString()};

// An older file: two accounts share a log-on, one has its own, one has no password.
class MigrationTest : public KeyringFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        KeyringFixture::SetUp();
        const QStringList users = {"jan", "jan", "ola", "ewa"};
        for (int i = 0; i < 4; ++i) {
            insert({QStringLiteral("6112345678000000000000000%1").arg(i), users[i],
                    QStringLiteral("Konto %1").arg(i), kPlain[i]});
        }
    }
    // One item per log-on, labelled for its user; nothing of a password left in any file.
    void expectMoved() {
        const QStringList after = passes();
        EXPECT_EQ(after[0], after[1]);
        EXPECT_NE(after[0], after[2]);
        EXPECT_EQ(after[3], QString());
        QString error;
        EXPECT_EQ(keyring->lookup(KeyringReference::idOf(after[0]), error), kShared);
        EXPECT_EQ(keyringLabel(KeyringReference::idOf(after[2])), QStringLiteral("Tavro: ola"));
        settings->Save();
        for (const QString& password : {kShared, kOther}) {
            EXPECT_FALSE(anyFileHolds(folder(), password)) << password.toStdString();
            EXPECT_FALSE(anyFileHolds(PrivateKeyring::shared().home(), password));
        }
        // Accounts that share a log-on still make one job.
        const auto rows = DownloadJobBuilder::ReadAccountsByName(con);
        EXPECT_EQ(DownloadJobBuilder::GroupByLogOn(rows, 7).front().accounts.size(), 2u);
    }
};

TEST_P(MigrationTest, AsksOnceAndMovesOnlyOnYes) {
    ScopedMessageBoxHandler boxes(MessageBox::Answer::No);
    if (GetParam()) {
        boxes.queueAnswer(MessageBox::Answer::Yes);
    }
    PasswordMigrationOffer::run(con, nullptr);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastText().contains(QStringLiteral("starsza wersja Tavro")));
    if (GetParam()) {
        expectMoved();
    } else {
        EXPECT_EQ(passes(), kPlain);
        EXPECT_EQ(settings->GetInt(PasswordPlace::kDeclinedKey, 0), 1);
        EXPECT_EQ(PasswordPlace::reason(), PasswordPlace::Reason::Declined);
    }
    PasswordMigrationOffer::run(con, nullptr);
    EXPECT_EQ(boxes.calls().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Answers, MigrationTest, ::testing::Bool());

TEST_F(MigrationTest, CommandMovesWithoutAWindowAndForgetsAnEarlierNo) {
    settings->SetInt(PasswordPlace::kDeclinedKey, 1);
    settings->Save();
    for (int run = 0; run < 2; ++run) {
        std::ostringstream err;
        EXPECT_EQ(PasswordsCommand::Run(err, "tavro-test-" + std::to_string(::getpid())), 0);
        EXPECT_EQ(err.str(), "");
    }
    settings->Load();
    EXPECT_EQ(settings->GetInt(PasswordPlace::kDeclinedKey, 0), 0);
    expectMoved();
}

}  // namespace
