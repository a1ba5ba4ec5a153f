// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <map>

#include "DemoFolder.h"
#include "SingleInstance.h"

namespace {

namespace fs = std::filesystem;

void touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    QFile f(QString::fromStdString(file.string()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// Files made in (or, for "", as) <tmp>/demo-data, and what the demo makes of the folder.
struct FolderCase {
    const char* name;
    std::vector<std::string> files;
    DemoFolder::Verdict verdict;
};

class DemoFolderVerdict : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DemoFolderVerdict, TakesOnlyFoldersThatAreTheDemosOwn) {
    QTemporaryDir dir;
    const fs::path folder = fs::path(dir.path().toStdString()) / "demo-data";
    for (const std::string& file : GetParam().files) {
        touch(file.empty() ? folder : folder / file);
    }
    EXPECT_EQ(DemoFolder::examine(folder), GetParam().verdict);
}

using V = DemoFolder::Verdict;
const std::string kData = "TavroHistory/masterDatabase.sq3";
INSTANTIATE_TEST_SUITE_P(
    Folders, DemoFolderVerdict,
    ::testing::Values(FolderCase{"Missing", {}, V::Missing},
                      FolderCase{"Marked", {DemoFolder::kMarker, kData}, V::Marked},
                      FolderCase{"Earlier", {"bank.pem", "ib_tavro.conf", kData}, V::Earlier},
                      FolderCase{"BuildTree", {"../CMakeCache.txt", kData}, V::BuildTree},
                      FolderCase{"UsersData", {kData}, V::Refused},
                      FolderCase{"AFile", {""}, V::Refused}),
    [](const auto& info) { return std::string(info.param.name); });

std::map<QString, QByteArray> snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        files[it.filePath()] = file.readAll();
    }
    return files;
}

// `tavro --demo` on the folder; its standard error. Unless told otherwise, it waits while
// another test's program holds the machine-wide lock.
QString runDemo(const QString& demoFolder, int& exitCode, bool waitForTheLock = true) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVRO_DEMO_DATA"), demoFolder);
    env.insert(QStringLiteral("TAVRO_MESSAGEBOX"), QStringLiteral("stderr"));
    program.setProcessEnvironment(env);
    QString err;
    for (int attempt = 0; attempt < 20; ++attempt, QThread::msleep(500)) {
        program.start(qEnvironmentVariable("TAVRO_BUILD_DIR") + QStringLiteral("/tavro"),
                      {QStringLiteral("--demo")});
        program.waitForFinished(30000);
        err = QString::fromUtf8(program.readAllStandardError());
        if (!waitForTheLock || !err.contains(QStringLiteral("Jedna instancja"))) {
            break;
        }
    }
    exitCode = program.exitCode();
    return err;
}

TEST(DemoFolderTest, TheProgramRefusesAUsersDataFolderAndChangesNothing) {
    QTemporaryDir dir;
    touch(fs::path(dir.path().toStdString()) / kData);
    const auto before = snapshot(dir.path());
    int exitCode = 0;
    EXPECT_TRUE(
        runDemo(dir.path(), exitCode).contains("nie jest folderem danych demonstracyjnych"));
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(DemoFolderTest, ASecondCopyFindsTavroRunningBeforeItWritesAnything) {
    SingleInstance running;
    if (!running.acquire()) {
        GTEST_SKIP() << "another Tavro holds the machine-wide lock";
    }
    QTemporaryDir dir;
    int exitCode = 0;
    EXPECT_TRUE(runDemo(dir.path() + "/demo", exitCode, false).contains("Jedna instancja"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/demo"));
}

}  // namespace
