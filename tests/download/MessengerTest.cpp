// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSettings>
#include <chrono>
#include <thread>

#include "Messenger.h"
#include "WorkerFixture.h"

namespace {

// QSettings fixes its folder at first use, so the private configuration folder is set before
// any test runs.
const TestFolder& configHome() {
    static const TestFolder folder;
    return folder;
}

const bool g_environment = [] {
    setenv("XDG_CONFIG_HOME", (configHome().path() / "config").c_str(), 1);
    setenv("HOME", configHome().path().c_str(), 1);
    return true;
}();

void setZelPath(const QVariant& value) {
    QSettings settings(QStringLiteral("Ostrel"), QString());
    if (value.isValid()) {
        settings.setValue(QStringLiteral("ZEL-path"), value);
    } else {
        settings.remove(QStringLiteral("ZEL-path"));
    }
    settings.sync();
}

TEST(MessengerTest, ProgramIsTheFolderValueFollowedByZel) {
    ASSERT_TRUE(g_environment);
    setZelPath(QVariant());
    EXPECT_EQ(Messenger::program(), QString());
    setZelPath(QString());
    EXPECT_EQ(Messenger::program(), QString()) << "no bare name for a PATH search";
    setZelPath(QStringLiteral("/opt/Zel Messenger/"));
    EXPECT_EQ(Messenger::program(), QStringLiteral("/opt/Zel Messenger/zel"));
    setZelPath(QStringList{QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(Messenger::program(), QString()) << "only a string is a folder";
    EXPECT_FALSE(Messenger::notify(QStringLiteral("t"), QStringLiteral("x")));
}

TEST(MessengerTest, ArgumentsAreTheSwitchAndOneField) {
    EXPECT_EQ(Messenger::arguments(QStringLiteral("Tytuł %1"), QStringLiteral("Sztuk: 1")),
              (QStringList{QStringLiteral("--tondle"),
                           QStringLiteral("Tytuł %1|Sztuk: 1|Image/TabEvent|1|")}));
}

// The worker with the real messenger: a fake "zel" records its command line.
class MessengerWorkerTest : public WorkerFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(g_environment);
        m_realMessenger = true;
        m_folder.write("zel/zel",
                       "#!/bin/sh\n"
                       "out=\"$(dirname \"$0\")/args\"\n"
                       "printf '%s\\n' \"$#\" > \"$out.tmp\"\n"
                       "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.tmp\"; done\n"
                       "mv \"$out.tmp\" \"$out\"\n");
        chmod((m_folder.path() / "zel/zel").c_str(), 0700);
        setZelPath(QString::fromStdString((m_folder.path() / "zel").string() + "/"));
        script("jan", {"account\t" + kAccountA8, op(1, 1.25), op(2, 2.25)});
    }

    std::string waitForArguments(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (std::filesystem::exists(m_folder.path() / "zel/args")) {
                return m_folder.read("zel/args");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }
};

TEST_F(MessengerWorkerTest, TondleOnStartsTheMessengerWithItsCommandLine) {
    download({job(u"jan", {kAccountA}, {u"Konto \"$HOME\" `x`"})});
    EXPECT_EQ(waitForArguments(std::chrono::seconds(10)),
              "2\n--tondle\nNowe operacje na koncie 'Konto \"$HOME\" `x`'|"
              "Sztuk: 2, na łączną kwotę 3,50|Image/TabEvent|1|\n");
}

TEST_F(MessengerWorkerTest, TondleOffStartsNothing) {
    m_settings.SetInt(u"UseTondle", 0);
    download({job(u"jan", {kAccountA})});
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_EQ(waitForArguments(std::chrono::milliseconds(500)), "");
    EXPECT_TRUE(m_ui.balloons.empty());
}

}  // namespace
