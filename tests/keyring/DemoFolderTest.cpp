#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <map>

#include "DemoFolder.h"
#include "SingleInstance.h"

namespace {

namespace fs = std::filesystem;

void touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    QFile f(QString::fromStdString(file.string()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

struct FolderCase {
    const char* name;
    std::function<void(const fs::path&)> make;
    DemoFolder::Verdict verdict;
};

class DemoFolderVerdict : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DemoFolderVerdict, TakesOnlyFoldersThatAreTheDemosOwn) {
    QTemporaryDir dir;
    const fs::path folder = fs::path(dir.path().toStdString()) / "demo-data";
    GetParam().make(folder);
    EXPECT_EQ(DemoFolder::examine(folder), GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DemoFolderVerdict,
    ::testing::Values(
        FolderCase{"Missing", [](const fs::path&) {}, DemoFolder::Verdict::Missing},
        FolderCase{"Empty", [](const fs::path& f) { fs::create_directory(f); },
                   DemoFolder::Verdict::Empty},
        FolderCase{"Marked",
                   [](const fs::path& f) {
                       touch(f / DemoFolder::kMarker);
                       touch(f / "TavroHistory/masterDatabase.sq3");
                   },
                   DemoFolder::Verdict::Marked},
        FolderCase{"Earlier",
                   [](const fs::path& f) {
                       touch(f / "bank.pem");
                       touch(f / "ib_tavro.conf");
                       touch(f / "TavroHistory/masterDatabase.sq3");
                   },
                   DemoFolder::Verdict::Earlier},
        FolderCase{"BuildTree",
                   [](const fs::path& f) {
                       touch(f.parent_path() / "CMakeCache.txt");
                       touch(f / "TavroHistory/masterDatabase.sq3");
                   },
                   DemoFolder::Verdict::BuildTree},
        FolderCase{"UsersData",
                   [](const fs::path& f) { touch(f / "TavroHistory/masterDatabase.sq3"); },
                   DemoFolder::Verdict::Refused},
        FolderCase{"AFile", [](const fs::path& f) { touch(f); }, DemoFolder::Verdict::Refused}),
    [](const auto& info) { return std::string(info.param.name); });

std::map<QString, QByteArray> snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files[it.filePath()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    return files;
}

const QString kSecondCopy = QStringLiteral("Jedna instancja aplikacj");

// The real program, as `tavro --demo` with the demo folder named in the environment; its
// standard error. Another test's program may hold the machine-wide lock for a moment.
QString runDemo(QProcess& program, const QString& demoFolder, const QString& home,
                bool waitForTheLock = true) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVRO_DEMO_DATA"), demoFolder);
    env.insert(QStringLiteral("TAVRO_MESSAGEBOX"), QStringLiteral("stderr"));
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    program.setProcessEnvironment(env);
    QString err;
    for (int attempt = 0; attempt < 20; ++attempt) {
        program.start(qEnvironmentVariable("TAVRO_BUILD_DIR") + QStringLiteral("/tavro"),
                      {QStringLiteral("--demo")});
        program.waitForFinished(30000);
        err = QString::fromUtf8(program.readAllStandardError());
        if (!waitForTheLock || !err.contains(kSecondCopy)) {
            break;
        }
        QThread::msleep(500);
    }
    return err;
}

TEST(DemoFolderTest, TheProgramRefusesAUsersDataFolderAndChangesNothing) {
    QTemporaryDir dir;
    const fs::path folder = fs::path(dir.path().toStdString()) / "data";
    touch(folder / "TavroHistory/masterDatabase.sq3");
    const auto before = snapshot(dir.path());
    QProcess program;
    const QString err = runDemo(program, QString::fromStdString(folder.string()), dir.path());
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("nie jest folderem danych demonstracyjnych")));
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(DemoFolderTest, ASecondCopyFindsTavroRunningBeforeItWritesAnything) {
    SingleInstance running;
    if (!running.acquire()) {
        GTEST_SKIP() << "another Tavro holds the machine-wide lock";
    }
    QTemporaryDir dir;
    QProcess program;
    EXPECT_TRUE(runDemo(program, dir.path() + QStringLiteral("/demo"), dir.path(), false)
                    .contains(kSecondCopy));
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/demo")));
}

}  // namespace
