// `tavro --export`: the real program, started on a real database in its own data folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "AppPaths.h"
#include "AppTestSupport.h"
#include "CsvExportWriter.h"
#include "ExportReaders.h"
#include "XmlExportWriter.h"
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
    const bool ended =
        program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit;
    return {ended ? program.exitCode() : -1, program.readAllStandardOutput(),
            program.readAllStandardError()};
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void expectQuietSuccess(const Result& r) {
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty() && r.err.isEmpty()) << r.err.toStdString();
}

class ExportCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        const int64_t nov5 = LocalTime(2011, 11, 5), jul1 = LocalTime(2024, 7, 1);
        m_ops = {{"73111111111111111111111111", "Żabka & <Spółka>", "Zakupy; \"kartą\"", -12.5, kA,
                  7, 0, nov5 - 86400, nov5, 9},
                 {"", "Pracodawca", "Pensja", 3000, kA, 8, 1, jul1, jul1, 1},
                 {"", "* Odsetki", "", 0.31, kB, 2, 1, jul1, jul1, 6}};
        CreateDatabase({{kA, "Główne"}, {kB, "Oszczędności"}}, m_ops);
    }
    // The rows as the window's whole export holds them.
    std::vector<StoredOperation> rows(const std::vector<int>& order) const {
        std::vector<StoredOperation> out;
        for (const int i : order) {
            const TestOperation& t = m_ops[size_t(i)];
            out.push_back({t.tid, t.ownAccount.toStdU16String(),
                           t.ownAccount == kA ? u"Główne" : u"Oszczędności",
                           t.counterpartyAccount.toStdU16String(), t.operationDate, t.bookingDate,
                           t.counterpartyName.toStdU16String(), t.direction, t.kind,
                           t.title.toStdU16String(), t.amount});
        }
        return out;
    }
    QString out(const char* name) const { return m_out.path() + "/" + name; }
    QStringList written() const { return QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden); }

    TempAppData m_appData;
    QTemporaryDir m_out;
    std::vector<TestOperation> m_ops;
};

}  // namespace

TEST_F(ExportCommandLine, EachFormatHoldsWhatTheWindowWouldWrite) {
    expectQuietSuccess(runTavro({"--export", out("h.xml")}));
    EXPECT_EQ(readAll(out("h.xml")).toStdString(), XmlExportWriter::Document(rows({1, 2, 0})));
    expectQuietSuccess(
        runTavro({"--export", out("a.CSV"), "--account", "61 1090 1014 0000 0712 1981 2874",
                  "--from", "2011-11-05", "--to", "2024-06-30"}));
    EXPECT_EQ(readAll(out("a.CSV")).toStdString(), CsvExportWriter::Document(rows({0})));
    expectQuietSuccess(runTavro({"--export", out("w.ofx")}));
    EXPECT_EQ(written(), QStringList({"a.CSV", "h.xml", "w-1234.ofx", "w-2874.ofx"}));
    const OfxDump a = RunOfxDump(out("w-2874.ofx").toStdString());
    EXPECT_TRUE(a.problems.empty());
    ASSERT_EQ(a.transactions.size(), 2u);
    EXPECT_EQ(a.transactions[1].at("Financial institution's ID for this transaction"),
              kA.toStdString() + "-7");
    // One account chosen: an empty period still gives its statement.
    expectQuietSuccess(runTavro({"--export", out("e.ofx"), "--account", kB, "--to", "2020-01-01"}));
    EXPECT_TRUE(RunOfxDump(out("e.ofx").toStdString()).transactions.empty());
    EXPECT_TRUE(runTavro({"--help"}).out.contains("tavro --export PLIK [--account NUMER]"));
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

struct FailureCase {
    const char* name;
    QStringList args;     // OUT stands for the output folder
    const char* message;  // after "tavro: "
};
class ExportCommandFailure : public ExportCommandLine,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExportCommandFailure, PolishMessageExitOneAndNoFile) {
    if (GetParam().args.contains("NODB")) {
        ASSERT_TRUE(QFile::remove(QString::fromStdString(AppPaths::databaseFile().string())));
    }
    const Result r = runTavro(QStringList(GetParam().args).replaceInStrings("OUT", m_out.path()));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    const QString message = QString::fromUtf8(GetParam().message).replace("OUT", m_out.path());
    EXPECT_TRUE(r.err.startsWith(("tavro: " + message).toUtf8())) << r.err.toStdString();
    EXPECT_TRUE(written().isEmpty()) << written().join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportCommandFailure,
    ::testing::Values(
        FailureCase{"MissingDatabase",
                    {"--export", "OUT/h.ofx", "--account", "NODB"},
                    "Nie ma bazy danych: "},
        FailureCase{"UnknownAccount",
                    {"--export", "OUT/h.csv", "--account", "123"},
                    "Nieznany rachunek: 123"},
        FailureCase{"NoSuchDay",
                    {"--export", "OUT/h.csv", "--from", "2024-02-30"},
                    "Nieprawidłowa data: \"2024-02-30\""},
        FailureCase{"Unwritable", {"--export", "OUT/brak/h.xml"}, "Nie można zapisać pliku: "},
        FailureCase{
            "UnknownFormat",
            {"--export", "OUT/h.txt"},
            "Nieznany format pliku \"OUT/h.txt\": rozszerzenie musi być .xml, .ofx lub .csv"},
        FailureCase{
            "MissingValue", {"--export", "OUT/h.csv", "--from"}, "Brak wartości opcji --from"}),
    [](const auto& info) { return std::string(info.param.name); });
