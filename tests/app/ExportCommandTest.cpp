// `tavro --export`: the real program, started on a real database in its own data folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "AppPaths.h"
#include "AppTestSupport.h"
#include "CWndExportCsvWriter.h"
#include "CWndExportWriter.h"
#include "ExportReaders.h"
#include "sqlite3x.h"

namespace {

const QString kA = QStringLiteral("61109010140000071219812874");
const QString kB = QStringLiteral("04000000000000000000001234");

struct Result {
    int code = -1;
    QByteArray out, err;
};

Result runTavro(const QStringList& args) {
    QProcess program;
    program.start(QStringLiteral(TAVRO_PROGRAM), args);
    Result result;
    if (program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit) {
        result.code = program.exitCode();
    }
    result.out = program.readAllStandardOutput();
    result.err = program.readAllStandardError();
    return result;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExportCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(QStringLiteral(TAVRO_PROGRAM))) {
            GTEST_SKIP() << "the program is not built";
        }
        const int64_t nov5 = LocalTime(2011, 11, 5), jul1 = LocalTime(2024, 7, 1);
        m_ops = {{"73111111111111111111111111", "Żabka & <Spółka>", "Zakupy; \"kartą\"", -12.5, kA,
                  7, 0, nov5 - 86400, nov5, 9},
                 {"", "Pracodawca", "Pensja", 3000, kA, 8, 1, jul1, jul1, 1},
                 {"", "* Odsetki", "", 0.31, kB, 2, 1, jul1, jul1, 6}};
        CreateDatabase({{kA, "Główne"}, {kB, "Oszczędności"}}, m_ops);
    }
    // The rows as the window's whole export holds them: newest posting first.
    std::vector<ExportOperation> expected(const std::vector<int>& order) const {
        std::vector<ExportOperation> out;
        for (const int i : order) {
            const TestOperation& t = m_ops[size_t(i)];
            ExportOperation op;
            op.tid = t.tid;
            op.ownAccount = t.ownAccount.toStdU16String();
            op.ownAccountName = t.ownAccount == kA ? u"Główne" : u"Oszczędności";
            op.counterpartyAccount = t.counterpartyAccount.toStdU16String();
            op.operationDate = t.operationDate;
            op.bookingDate = t.bookingDate;
            op.counterpartyName = t.counterpartyName.toStdU16String();
            op.direction = t.direction;
            op.kind = t.kind;
            op.title = t.title.toStdU16String();
            op.amount = t.amount;
            out.push_back(op);
        }
        return out;
    }
    QString out(const char* name) const { return m_out.path() + "/" + name; }
    QStringList written() const { return QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden); }

    TempAppData m_appData;
    QTemporaryDir m_out;
    std::vector<TestOperation> m_ops;
};

void expectQuietSuccess(const Result& r) {
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

}  // namespace

TEST_F(ExportCommandLine, XmlAndCsvHoldWhatTheWindowWouldWrite) {
    expectQuietSuccess(runTavro({"--export", out("h.xml")}));
    EXPECT_EQ(readAll(out("h.xml")).toStdString(), CWndExportWriter::Document(expected({1, 2, 0})));
    expectQuietSuccess(runTavro({"--export", out("h.CSV")}));
    EXPECT_EQ(readAll(out("h.CSV")).toStdString(),
              CWndExportCsvWriter::Document(expected({1, 2, 0})));
}

TEST_F(ExportCommandLine, AccountAndPostingDaysNarrowTheRows) {
    expectQuietSuccess(
        runTavro({"--export", out("a.csv"), "--account", "61 1090 1014 0000 0712 1981 2874",
                  "--from", "2011-11-05", "--to", "2024-06-30"}));
    EXPECT_EQ(readAll(out("a.csv")).toStdString(), CWndExportCsvWriter::Document(expected({0})));
}

TEST_F(ExportCommandLine, OfxGivesOneFilePerAccountThatOfxdumpReads) {
    expectQuietSuccess(runTavro({"--export", out("w.ofx")}));
    EXPECT_EQ(written(), QStringList({"w-1234.ofx", "w-2874.ofx"}));
    const OfxDump a = RunOfxDump(out("w-2874.ofx").toStdString());
    EXPECT_TRUE(a.ran && a.problems.empty());
    ASSERT_EQ(a.transactions.size(), 2u);
    EXPECT_EQ(a.transactions[1].at("Financial institution's ID for this transaction"),
              kA.toStdString() + "-7");
    // With one account chosen, an empty period still gives its statement.
    expectQuietSuccess(runTavro({"--export", out("e.ofx"), "--account", kB, "--to", "2020-01-01"}));
    EXPECT_TRUE(RunOfxDump(out("e.ofx").toStdString()).transactions.empty());
}

TEST_F(ExportCommandLine, ReadsWhileAnotherConnectionWritesAndChangesNothing) {
    const QString db = QString::fromStdString(AppPaths::databaseFile().string());
    const QByteArray before = readAll(db);
    sqlite3x::connection writer;
    writer.open(AppPaths::databaseFileU16());
    writer.execute("BEGIN IMMEDIATE");
    expectQuietSuccess(runTavro({"--export", out("h.xml")}));
    writer.execute("ROLLBACK");
    EXPECT_EQ(readAll(db), before);
}

TEST_F(ExportCommandLine, HelpListsTheExport) {
    const Result r = runTavro({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains("tavro --export PLIK [--account NUMER] [--from RRRR-MM-DD]"));
}

struct FailureCase {
    const char* name;
    QStringList args;  // OUT stands for the output folder
    const char* message;
    bool removeDatabase = false;
};
class ExportCommandFailure : public ExportCommandLine,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExportCommandFailure, PolishMessageExitOneAndNoFile) {
    if (GetParam().removeDatabase) {
        ASSERT_TRUE(QFile::remove(QString::fromStdString(AppPaths::databaseFile().string())));
    }
    QStringList args = GetParam().args;
    args.replaceInStrings("OUT", m_out.path());
    const Result r = runTavro(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    const QString message = QString::fromUtf8(GetParam().message).replace("OUT", m_out.path());
    EXPECT_TRUE(r.err.startsWith(("tavro: " + message).toUtf8())) << r.err.toStdString();
    EXPECT_TRUE(written().isEmpty()) << written().join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportCommandFailure,
    ::testing::Values(
        FailureCase{"NoDatabase", {"--export", "OUT/h.ofx"}, "Nie ma bazy danych: ", true},
        FailureCase{"UnknownAccount",
                    {"--export", "OUT/h.csv", "--account", "123"},
                    "Nieznany rachunek: 123"},
        FailureCase{"NoSuchDay",
                    {"--export", "OUT/h.csv", "--from", "2024-02-30"},
                    "Nieprawidłowa data: \"2024-02-30\""},
        FailureCase{
            "NotADate", {"--export", "OUT/h.csv", "--to", "1.07.2024"}, "Nieprawidłowa data"},
        FailureCase{"Unwritable", {"--export", "OUT/brak/h.xml"}, "Nie można zapisać pliku: "},
        FailureCase{
            "UnknownFormat",
            {"--export", "OUT/h.txt"},
            "Nieznany format pliku \"OUT/h.txt\": rozszerzenie musi być .xml, .ofx lub .csv"},
        FailureCase{
            "MissingValue", {"--export", "OUT/h.csv", "--from"}, "Brak wartości opcji --from"}),
    [](const auto& info) { return std::string(info.param.name); });
