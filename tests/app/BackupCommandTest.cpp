// SPDX-License-Identifier: GPL-3.0-or-later
// `tavro --backup` and the shared command line: the real program on real database files.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>

#include "AppTestSupport.h"
#include "sqlite3x.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    int code = -1;
    QByteArray out, err;
};

Result finish(QProcess& program) {
    const bool ended =
        program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit;
    return {ended ? program.exitCode() : -1, program.readAllStandardOutput(),
            program.readAllStandardError()};
}

Result runTavro(const QStringList& args) {
    QProcess program;
    program.start(QStringLiteral(TAVRO_PROGRAM), args);
    return finish(program);
}

// The one line of a failure, whatever Qt may have printed before it.
void expectFailure(const Result& r, const QString& message) {
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(r.err).count(QStringLiteral("tavro: ")), 1) << r.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("tavro: ") + message))
        << r.err.toStdString();
}

// What a copy must hold: every operation with its amount and title.
std::string digest(const fs::path& database) {
    sqlite3x::connection db;
    db.open_read_only(database.string(), 1000);
    sqlite3x::command cmd(db,
                          "select count(*) || '/' || total(t_amount) || '/' || "
                          "length(group_concat(t_desc)) from transactions");
    sqlite3x::reader reader = cmd.execute_reader();
    return reader.read() ? fs::path(reader.get_string(0)).string() : std::string();
}

class BackupCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        // Enough operations for the copy to take many small steps.
        std::vector<TestOperation> ops;
        for (int i = 0; i < 3000; ++i) {
            ops.push_back({"", "Kontrahent " + QString::number(i), "Tytuł " + QString::number(i),
                           -1.5 * i, kAccount, i + 1, 0, LocalTime(2024, 1, 1) + i * 3600,
                           LocalTime(2024, 1, 1) + i * 3600, 9});
        }
        CreateDatabase({{kAccount, "Główne"}}, ops);
    }
    fs::path database() const { return m_appData.dataFolder() / "masterDatabase.sq3"; }
    QString out(const char* name) const { return m_out.path() + "/" + name; }
    QStringList written() const { return QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden); }

    static inline const QString kAccount = QStringLiteral("61109010140000071219812874");
    TempAppData m_appData;
    QTemporaryDir m_out;
};

TEST_F(BackupCommandLine, CopyHoldsTheHistoryIsPrivateAndLeavesNothingElse) {
    const Result r = runTavro({"--backup", out("kopia.sq3")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty() && r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(digest(out("kopia.sq3").toStdString()), digest(database()));
    struct stat info {};
    ASSERT_EQ(::stat(out("kopia.sq3").toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(written(), QStringList{"kopia.sq3"});
}

// The program writing (its transaction open) or committing (the file locked) does not stop the
// copy: it takes what was committed, waiting for a commit in progress.
TEST_F(BackupCommandLine, CopyWorksWhileTheProgramWrites) {
    const std::string before = digest(database());
    sqlite3x::connection writer;
    writer.open(database().u16string());
    writer.execute("BEGIN IMMEDIATE");
    writer.execute("DELETE FROM transactions WHERE t_tid > 10");
    EXPECT_EQ(runTavro({"--backup", out("a.sq3")}).code, 0);
    EXPECT_EQ(digest(out("a.sq3").toStdString()), before);

    writer.execute("PRAGMA locking_mode = EXCLUSIVE");
    writer.execute("COMMIT");  // holds the file until the connection says otherwise
    writer.execute("BEGIN EXCLUSIVE");
    QProcess program;
    program.start(QStringLiteral(TAVRO_PROGRAM), {"--backup", out("b.sq3")});
    ASSERT_TRUE(program.waitForStarted());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    writer.execute("COMMIT");
    writer.execute("PRAGMA locking_mode = NORMAL");
    writer.execute("SELECT 1 FROM transactions LIMIT 1");  // releases the lock
    const Result r = finish(program);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_NE(digest(out("b.sq3").toStdString()), before);
    EXPECT_EQ(digest(out("b.sq3").toStdString()), digest(database()));
}

TEST(BackupHelp, IsListed) {
    EXPECT_TRUE(runTavro({"--help"}).out.contains("tavro --backup PLIK"));
}

struct FailureCase {
    const char* name;
    const char* file;
    const char* message;
};

class BackupFailure : public BackupCommandLine,
                      public ::testing::WithParamInterface<FailureCase> {};

// One Polish line, exit code 1, and no new file; a file already there is left as it was.
TEST_P(BackupFailure, SaysWhyAndWritesNothing) {
    const std::string name = GetParam().name;
    if (name == "Existing") {
        std::ofstream(out("kopia.sq3").toStdString()) << "moja";
    } else if (name == "NoDatabase") {
        fs::remove(database());
    } else if (name == "Damaged") {
        // Cell pointers far outside the last page: the pages copy, the check refuses them.
        const auto size = fs::file_size(database());
        std::fstream file(database(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(size - 4096 + 8));
        file << std::string(32, '\xff');
    }
    const QStringList before = written();
    expectFailure(runTavro({"--backup", out(GetParam().file)}), GetParam().message);
    EXPECT_EQ(written(), before);
    if (name == "Existing") {
        std::string kept;
        std::ifstream(out("kopia.sq3").toStdString()) >> kept;
        EXPECT_EQ(kept, "moja");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Backup, BackupFailure,
    ::testing::Values(FailureCase{"Existing", "kopia.sq3", "Plik już istnieje: "},
                      FailureCase{"NoDatabase", "kopia.sq3", "Nie ma bazy danych: "},
                      FailureCase{"MissingFolder", "brak/kopia.sq3", "Nie można zapisać pliku: "},
                      FailureCase{"Damaged", "kopia.sq3", "Kopia nie przeszła sprawdzenia"}),
    [](const auto& info) { return std::string(info.param.name); });

struct OptionCase {
    const char* name;
    QStringList args;
    QString message;
};

class UnknownOption : public ::testing::TestWithParam<OptionCase> {};

// Qt takes its own options (with one dash or two) before Tavro looks at what is left.
TEST_P(UnknownOption, IsNamedAndNothingStarts) {
    TempAppData appData;
    expectFailure(runTavro(GetParam().args), GetParam().message);
    EXPECT_FALSE(fs::exists(appData.dataFolder()));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, UnknownOption,
    ::testing::Values(
        OptionCase{
            "Window", {"--nonsense"}, "Nieznana opcja: \"--nonsense\". Opis opcji: tavro --help"},
        OptionCase{"AfterQtOptions",
                   {"-style", "fusion", "--platform", "offscreen", "--demo", "--bogus"},
                   "Nieznana opcja: \"--bogus\"."},
        OptionCase{
            "WithExport", {"--export", "h.xml", "--verbose"}, "Nieznana opcja: \"--verbose\"."},
        OptionCase{"ExportOptionWithBackup",
                   {"--backup", "k.sq3", "--from", "2024-01-01"},
                   "Opcja --from działa tylko z --export."},
        OptionCase{"TwoCommands",
                   {"--export", "h.xml", "--backup", "k.sq3"},
                   "Opcji --export i --backup nie można użyć razem."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
