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
#include <memory>
#include <thread>

#include "AppPaths.h"
#include "AppTestSupport.h"
#include "CsvProfiles.h"
#include "FileSizeLimit.h"
#include "SingleInstance.h"
#include "StatementSamples.h"
#include "sqlite3x.h"

namespace {

namespace fs = std::filesystem;
using namespace StatementSamples;

const std::string kA = Nrb("109010140000071219812874"), kB = Nrb("240000000000000000001234");

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
        Result r{program.waitForFinished(60000) ? program.exitCode() : -1,
                 QString::fromUtf8(program.readAllStandardOutput()),
                 QString::fromUtf8(program.readAllStandardError())};
        if (lockHeldHere || !r.err.contains("Tavro jest uruchomione") || attempt == 100) {
            return r;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

QString line(const std::string& account, int stored, int known, int skipped = 0) {
    return QString::fromStdString(
        account + ": nowe " + std::to_string(stored) + ", już zapisane " + std::to_string(known) +
        ", prawdopodobnie zapisane 0, pominięte " + std::to_string(skipped) + "\n");
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray digest() {  // of the database file; of nothing when there is none
    const QByteArray bytes = readAll(QString::fromStdString(AppPaths::databaseFile().string()));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

std::string replaced(const std::string& text, const char* from, const char* to) {
    return QString::fromStdString(text).replace(from, to).toStdString();
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
        const QString dir = m_files.path() + "/" + suffix + "/";
        ASSERT_TRUE(QDir().mkpath(dir));
        ASSERT_EQ(runTavro({"--export", dir + "h." + suffix}).code, 0);
        const QStringList files = QDir(dir).entryList(QDir::Files);
        {
            TempAppData empty;
            for (const QString& file : files) {
                const Result r = runTavro({"--import", dir + file});
                EXPECT_TRUE(r.out.contains("już zapisane 0, prawdo")) << r.err.toStdString();
            }
            ASSERT_EQ(runTavro({"--export", dir + "again." + suffix}).code, 0);
        }
        static const QRegularExpression time(QStringLiteral("<DTSERVER>[^<]*"));
        for (const QString& file : files) {
            const QString again = dir + "again" + file.mid(1);
            EXPECT_EQ(QString::fromUtf8(readAll(again)).remove(time),
                      QString::fromUtf8(readAll(dir + file)).remove(time))
                << file.toStdString();
            EXPECT_TRUE(runTavro({"--import", dir + file}).out.contains(": nowe 0, "));
        }
    }
}

TEST_F(ImportCommandLine, LinesPerAccountDryRunSecondImportAndAHeldDatabase) {
    const QString two = write("dwa.sta", Mt940(kA, {}) + Mt940(kB, {'^', "\n", true}));
    const QString expected = line(kA, 2, 0) + line(kB, 2, 0);
    Result r = runTavro({"--import", two, "--dry-run"});
    EXPECT_EQ(r.out + QString::number(r.code), expected + "0");
    EXPECT_FALSE(fs::exists(m_appData.dataFolder())) << "a dry run creates nothing";
    r = runTavro({"--import", two});
    EXPECT_EQ(r.out + r.err, expected);
    const QByteArray stored = digest();
    r = runTavro({"--import", two});
    EXPECT_EQ(r.out + QString::number(r.code), line(kA, 0, 2) + line(kB, 0, 2) + "0");
    EXPECT_EQ(r.err.left(40), "tavro: Ten plik był już zaimportowany 20");
    EXPECT_EQ(digest(), stored);
    // Balances that disagree, let through; the pending entry is left out.
    const QString off = write("c.xml", replaced(Camt(kA, "08"), "1280.5", "1280.6"));
    r = runTavro({"--import", off, "--ignore-balance", "--dry-run"});
    EXPECT_EQ(r.out, line(kA, 4, 0, 1)) << r.err.toStdString();
    EXPECT_EQ(digest(), stored);
    // A database another program holds for a moment is waited for (tried again while another
    // test's copy of the program holds the machine-wide lock).
    for (int attempt = 0;; ++attempt) {
        sqlite3x::connection holder;
        holder.open(AppPaths::databaseFileU16());
        holder.execute("BEGIN EXCLUSIVE");
        QProcess program;
        program.start(QStringLiteral(TAVRO_PROGRAM), {"--import", off, "--ignore-balance"});
        std::this_thread::sleep_for(std::chrono::seconds(1));
        holder.execute("ROLLBACK");
        ASSERT_TRUE(program.waitForFinished(60000));
        const QString err = QString::fromUtf8(program.readAllStandardError());
        if (err.contains("Tavro jest uruchomione") && attempt < 20) {
            continue;
        }
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), line(kA, 4, 0, 1))
            << err.toStdString();
        break;
    }
    EXPECT_NE(digest(), stored);
}

// A bank's CSV: a profile the user saved is found by the file's header line, or named; the
// line on standard error says which one read the file.
TEST_F(ImportCommandLine, BankCsvReadWithASavedProfile) {
    CsvProfile profile;
    profile.name = QStringLiteral("Mój bank");
    profile.header = QStringLiteral("Data;Kwota;Tytuł");
    profile.columns = {CsvColumnRole::OperationDate, CsvColumnRole::Amount, CsvColumnRole::Title};
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(m_appData.dataFolder().string())));
    CsvProfiles().add(profile);
    const QString csv =
        write("historia.csv", "Data;Kwota;Tytuł\n2024-07-01;-12,50;Kawa\n2024-07-02;-3,00;Bułka\n");
    const QString note = QStringLiteral("tavro: Plik CSV czytany z profilem „Mój bank”.\n");
    Result r = runTavro({"--import", csv, "--account", QString::fromStdString(kA), "--dry-run"});
    EXPECT_EQ(r.out + r.err, line(kA, 2, 0) + note);
    r = runTavro({"--import", csv, "--account", QString::fromStdString(kA), "--profile",
                  QStringLiteral("Mój bank")});
    EXPECT_EQ(r.out + r.err, line(kA, 2, 0) + note);
    r = runTavro({"--import", csv, "--profile", QStringLiteral("Nieznany")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(
        r.err.startsWith(QStringLiteral("tavro: Nie ma profilu CSV „Nieznany” (są: Mój bank, ")))
        << r.err.toStdString();
}

struct FailureCase {
    const char* name;
    std::string file;  // none: a file that is not there
    QStringList options;
    const char* message;
};
class ImportFailure : public ImportCommandLine,
                      public ::testing::WithParamInterface<FailureCase> {};

// One Polish line, exit code 1, the database as it was, and no data folder where there was none.
TEST_P(ImportFailure, SaysWhyAndChangesNothing) {
    const FailureCase& c = GetParam();
    const std::string name = c.name;
    const bool database = name == "Locked" || name == "Damaged" || name == "Mismatch";
    SingleInstance lock;
    sqlite3x::connection holder;
    if (database) {
        createDatabase();
    }
    if (name == "Damaged") {
        std::fstream file(AppPaths::databaseFile(), std::ios::in | std::ios::out);
        file.seekp(std::streamoff(fs::file_size(AppPaths::databaseFile()) - 4096 + 8));
        file << std::string(32, '\xff');
    }
    // Before the lock: closing any descriptor of the file drops this process's locks on it.
    const QByteArray before = digest();
    if (name == "Running") {
        for (int attempt = 0; attempt < 100 && !lock.acquire(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    } else if (name == "Locked") {
        holder.open(AppPaths::databaseFileU16());
        holder.execute("BEGIN EXCLUSIVE");
    }
    const QString file = c.file.empty() ? m_files.path() + (name == "Folder" ? "" : "/brak.sta")
                                        : write("wyciąg", c.file);
    // A disk that fills once the first start's database is there.
    const auto full = name == "DiskFull" ? std::make_unique<FileSizeLimit>(20 * 1024) : nullptr;
    const Result r = runTavro(QStringList{"--import", file} + c.options, lock.held());
    EXPECT_EQ(r.out + QString::number(r.code), "1");
    EXPECT_TRUE(r.err.startsWith("tavro: ") && r.err.count('\n') == 1 &&
                r.err.contains(QString::fromUtf8(c.message)))
        << r.err.toStdString();
    EXPECT_EQ(digest(), before);
    EXPECT_EQ(fs::exists(m_appData.dataFolder()), database);
}

const std::string kSta = Mt940(kA, {});
INSTANTIATE_TEST_SUITE_P(
    Cases, ImportFailure,
    ::testing::Values(
        FailureCase{"Missing", "", {}, "Nie ma pliku "},
        FailureCase{"Folder", "", {}, " to folder, a nie plik wyciągu."},
        FailureCase{"UnknownFormat", "a;b\n", {}, "Nieznany format pliku"},
        FailureCase{"Truncated", kSta.substr(0, 180), {}, "plik urywa się w wyciągu"},
        FailureCase{"Mismatch", kSta, {"--account", QString::fromStdString(kB)}, "Wyciąg dotyczy"},
        FailureCase{"Currency", replaced(kSta, "PLN", "EUR"), {}, "w walucie EUR"},
        FailureCase{"Balance", replaced(kSta, "1237,66", "1237,67"), {}, "dają 1237,66 zł"},
        FailureCase{"Doctype", replaced(Camt(kA, "08"), "\n<", "\n<!DOCTYPE d><"), {}, "DOCTYPE"},
        // libxml2 would write its own lines about bytes it cannot convert.
        FailureCase{"Bytes",
                    "<?xml version=\"1.0\" encoding=\"UT-F8\"?>\n<Document><BkToCstmrStmt><Stmt>"
                    "<Id>A\xCC\xCC\xCC\xCC"
                    "B</Id></Stmt></BkToCstmrStmt></Document>\n",
                    {"--format", "camt"},
                    "Plik camt.053 jest uszkodzony"},
        FailureCase{"Encoding", kSta, {"--encoding", "klingon"}, "Nieznane kodowanie: \"klingon\""},
        FailureCase{"ExportOption", kSta, {"--to", "2024-01-01"}, "--to działa tylko z --export."},
        FailureCase{"Locked", kSta, {}, "jest zajęty przez inny program dłużej niż 5 s"},
        FailureCase{"Damaged", kSta, {}, "jest uszkodzony"},
        FailureCase{"Running", kSta, {}, "Tavro jest uruchomione"},
        FailureCase{"DiskFull", kSta, {}, "Zapis do bazy danych się nie udał"}),
    [](const auto& info) { return std::string(info.param.name); });
