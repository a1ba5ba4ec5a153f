// SPDX-License-Identifier: GPL-3.0-or-later
// `tavro --import`: the real program, on statement files the test makes, into real data folders.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include "AppPaths.h"
#include "AppTestSupport.h"
#include "SingleInstance.h"
#include "StatementSamples.h"
#include "sqlite3x.h"

namespace {

namespace fs = std::filesystem;
using namespace StatementSamples;

const std::string kA = Nrb("109010140000071219812874"), kB = Nrb("240000000000000000001234");
const QString kRunning = QStringLiteral("Tavro jest uruchomione");

struct Result {
    int code = -1;
    QString out, err;
};

// Another test's copy of the program may hold the machine-wide lock for a moment: a refusal is
// tried again unless the test holds the lock itself.
Result runTavro(const QStringList& args, bool lockHeldHere = false) {
    for (int attempt = 0;; ++attempt) {
        QProcess program;
        program.start(QStringLiteral(TAVRO_PROGRAM), args);
        const bool ended =
            program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit;
        Result r{ended ? program.exitCode() : -1,
                 QString::fromUtf8(program.readAllStandardOutput()),
                 QString::fromUtf8(program.readAllStandardError())};
        if (lockHeldHere || !r.err.contains(kRunning) || attempt == 100) {
            return r;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

QString line(const std::string& account, int stored, int known, int skipped = 0) {
    return QStringLiteral("%1: nowe %2, już zapisane %3, prawdopodobnie zapisane 0, pominięte %4\n")
        .arg(QString::fromStdString(account))
        .arg(stored)
        .arg(known)
        .arg(skipped);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The database's bytes, or nothing when there is no file.
QByteArray digest() {
    const QByteArray bytes = readAll(QString::fromStdString(AppPaths::databaseFile().string()));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

std::string replaced(const std::string& text, const std::string& from, const std::string& to) {
    return QString::fromStdString(text)
        .replace(QString::fromStdString(from), QString::fromStdString(to))
        .toStdString();
}

class ImportCommandLine : public ::testing::Test {
protected:
    QString write(const QString& name, const std::string& bytes) {
        const QString path = m_files.path() + "/" + name;
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }
    void createDatabase() {
        const int64_t day = LocalTime(2024, 7, 1);
        CreateDatabase(
            {{QString::fromStdString(kA), "Główne"}, {QString::fromStdString(kB), "Lokata"}},
            {{QString::fromStdString(Nrb("111111111111111111111111")), "Żabka & <Spółka>",
              "Zakupy; \"kartą\"", -12.5, QString::fromStdString(kA), 7, 0, day - 86400, day, 9},
             {"", "Pracodawca", "Pensja", 3000, QString::fromStdString(kA), 8, 1, day, day, 1},
             {"", "* Odsetki", "", 0.31, QString::fromStdString(kB), 2, 1, day, day, 6}});
    }

    TempAppData m_appData;
    QTemporaryDir m_files;
};

}  // namespace

// Each own export into an empty data folder and out again gives the same file (but for the time
// OFX is written at); back into the database it came from, nothing of it is new.
TEST_F(ImportCommandLine, OwnExportsComeBackWhole) {
    createDatabase();
    for (const QString suffix : {"csv", "xml", "ofx"}) {
        const QString first = m_files.path() + "/first", again = m_files.path() + "/again";
        ASSERT_TRUE(QDir().mkpath(first) && QDir().mkpath(again));
        ASSERT_EQ(runTavro({"--export", first + "/h." + suffix}).code, 0);
        const QStringList files = QDir(first).entryList(QDir::Files);
        {
            TempAppData empty;
            for (const QString& file : files) {
                const Result r = runTavro({"--import", first + "/" + file});
                EXPECT_TRUE(
                    r.out.contains(", już zapisane 0, prawdopodobnie zapisane 0, pominięte 0"))
                    << r.err.toStdString();
            }
            ASSERT_EQ(runTavro({"--export", again + "/h." + suffix}).code, 0);
        }
        static const QRegularExpression time(QStringLiteral("<DTSERVER>[^<]*"));
        for (const QString& file : files) {
            EXPECT_EQ(QString::fromUtf8(readAll(again + "/" + file)).remove(time),
                      QString::fromUtf8(readAll(first + "/" + file)).remove(time))
                << file.toStdString();
            EXPECT_TRUE(runTavro({"--import", first + "/" + file}).out.contains(": nowe 0, "));
        }
        QDir(first).removeRecursively();
        QDir(again).removeRecursively();
    }
}

TEST_F(ImportCommandLine, LinesPerAccountDryRunAndSecondImport) {
    const QString two = write("dwa.sta", Mt940(kA, {}) + Mt940(kB, {'^', "\n", true}));
    const QString expected = line(kA, 2, 0) + line(kB, 2, 0);
    Result r = runTavro({"--import", two, "--dry-run"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, expected);
    EXPECT_FALSE(fs::exists(m_appData.dataFolder())) << "a dry run creates nothing";
    r = runTavro({"--import", two});
    EXPECT_EQ(r.out + r.err, expected);
    const QByteArray stored = digest();
    r = runTavro({"--import", two});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, line(kA, 0, 2) + line(kB, 0, 2));
    EXPECT_TRUE(r.err.startsWith("tavro: Ten plik był już zaimportowany 20"))
        << r.err.toStdString();
    EXPECT_EQ(digest(), stored);
    // Balances that disagree, let through; the pending entry is left out.
    const QString off = write("c.xml", replaced(Camt(kA, "08"), "1280.5", "1280.6"));
    r = runTavro({"--import", off, "--ignore-balance", "--dry-run"});
    EXPECT_EQ(r.out, line(kA, 4, 0, 1)) << r.err.toStdString();
    EXPECT_EQ(digest(), stored);
    r = runTavro({"--import", off, "--ignore-balance"});
    EXPECT_EQ(r.out, line(kA, 4, 0, 1));
    EXPECT_NE(digest(), stored);
}

// A database held by another program is waited for, up to five seconds.
TEST_F(ImportCommandLine, WaitsForADatabaseHeldForAMoment) {
    createDatabase();
    sqlite3x::connection holder;
    holder.open(AppPaths::databaseFileU16());
    holder.execute("BEGIN EXCLUSIVE");
    QProcess program;
    program.start(QStringLiteral(TAVRO_PROGRAM), {"--import", write("a.sta", Mt940(kA, {}))});
    std::this_thread::sleep_for(std::chrono::seconds(1));
    holder.execute("ROLLBACK");
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), line(kA, 2, 0));
}

struct FailureCase {
    const char* name;
    QStringList args;  // FILE: the case's file, made by `make`
    std::string (*make)();
    const char* message;
};
class ImportFailure : public ImportCommandLine,
                      public ::testing::WithParamInterface<FailureCase> {};

// One Polish line, exit code 1, the database as it was, and no data folder where there was none.
TEST_P(ImportFailure, SaysWhyAndChangesNothing) {
    const FailureCase& c = GetParam();
    const std::string name = c.name;
    const bool database = name == "Locked" || name == "Damaged" || name == "Mismatch";
    std::optional<SingleInstance> lock;
    sqlite3x::connection holder;
    if (database) {
        createDatabase();
    }
    if (name == "Damaged") {
        std::fstream file(AppPaths::databaseFile(),
                          std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(std::streamoff(fs::file_size(AppPaths::databaseFile()) - 4096 + 8));
        file << std::string(32, '\xff');
    }
    // Before the lock: closing any descriptor of the file drops this process's locks on it.
    const QByteArray before = digest();
    if (name == "Running") {
        lock.emplace();
        for (int attempt = 0; attempt < 100 && !lock->acquire(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    } else if (name == "Locked") {
        holder.open(AppPaths::databaseFileU16());
        holder.execute("BEGIN EXCLUSIVE");
    }
    const QString file = c.make ? write("wyciąg", c.make()) : m_files.path() + "/brak.sta";
    const Result r = runTavro(QStringList(c.args).replaceInStrings("FILE", file), lock.has_value());
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith("tavro: ") && r.err.count('\n') == 1 &&
                r.err.contains(QString::fromUtf8(c.message)))
        << r.err.toStdString();
    EXPECT_EQ(digest(), before);
    EXPECT_EQ(fs::exists(m_appData.dataFolder()), database);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportFailure,
    ::testing::Values(
        FailureCase{"Missing", {"--import", "FILE"}, nullptr, "Nie ma pliku "},
        FailureCase{"Folder", {"--import", "."}, nullptr, " to folder, a nie plik wyciągu."},
        FailureCase{"UnknownFormat",
                    {"--import", "FILE"},
                    [] { return std::string("a;b\n"); },
                    "Nieznany format pliku"},
        FailureCase{"Truncated",
                    {"--import", "FILE"},
                    [] { return Mt940(kA, {}).substr(0, 180); },
                    "plik urywa się w wyciągu"},
        FailureCase{"Mismatch",
                    {"--import", "FILE", "--account", QString::fromStdString(kB)},
                    [] { return Mt940(kA, {}); },
                    "Wyciąg dotyczy rachunku"},
        FailureCase{"Currency",
                    {"--import", "FILE"},
                    [] { return replaced(Mt940(kA, {}), "PLN", "EUR"); },
                    "w walucie EUR"},
        FailureCase{"Balance",
                    {"--import", "FILE"},
                    [] { return replaced(Mt940(kA, {}), "1237,66", "1237,67"); },
                    "się nie zgadza: saldo początkowe i operacje dają 1237,66 zł"},
        FailureCase{"Doctype",
                    {"--import", "FILE"},
                    [] { return replaced(Camt(kA, "08"), "<Document", "<!DOCTYPE d><Document"); },
                    "deklarację DOCTYPE"},
        FailureCase{"Encoding",
                    {"--import", "FILE", "--encoding", "klingon"},
                    [] { return Mt940(kA, {}); },
                    "Nieznane kodowanie: \"klingon\""},
        FailureCase{"ExportOption",
                    {"--import", "FILE", "--to", "2024-01-01"},
                    [] { return Mt940(kA, {}); },
                    "Opcja --to działa tylko z --export."},
        FailureCase{"Locked",
                    {"--import", "FILE"},
                    [] { return Mt940(kA, {}); },
                    "jest zajęty przez inny program dłużej niż 5 s"},
        FailureCase{
            "Damaged", {"--import", "FILE"}, [] { return Mt940(kA, {}); }, "jest uszkodzony"},
        FailureCase{"Running",
                    {"--import", "FILE"},
                    [] { return Mt940(kA, {}); },
                    "Tavro jest uruchomione"}),
    [](const auto& info) { return std::string(info.param.name); });
