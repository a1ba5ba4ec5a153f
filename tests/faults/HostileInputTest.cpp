// Texts that break careless code (quotes, SQL, markup, a NUL, 10 000 characters, Polish letters,
// bytes that are no Windows-1250 character) in every field that reaches the database: from a
// module through the worker, and from the account manager. Each is stored, listed, shown and
// exported unchanged, or escaped where XML needs it; every XML export passes xmllint, every OFX
// export libofx, every CSV export a strict RFC 4180 reader.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "AppPaths.h"
#include "AppSettings.h"
#include "AppTestSupport.h"
#include "CHistoryDlg.h"
#include "CHistoryListModel.h"
#include "CWndAccountManager.h"
#include "CWndDetails.h"
#include "CWndDetailsText.h"
#include "CWndExport.h"
#include "CsvExportWriter.h"
#include "DialogTemplate.h"
#include "ExportReaders.h"
#include "FaultDownload.h"
#include "MessageBox.h"
#include "OfxExportWriter.h"
#include "Schema.h"
#include "TempDir.h"
#include "XmlExportWriter.h"

namespace {

struct Hostile {
    const char* name;
    std::string cp1250;     // as the module hands it over
    std::u16string stored;  // what must be stored and shown
};

std::string repeatText(size_t count) {
    std::string text;
    while (text.size() < count) {
        text += "Przelew \xB9\xEA ";  // "ą", "ę" in Windows-1250
    }
    text.resize(count);
    return text;
}

std::u16string repeatStored(size_t count) {
    std::u16string text;
    while (text.size() < count) {
        text += u"Przelew ąę ";
    }
    text.resize(count);
    return text;
}

const std::vector<Hostile>& hostileTexts() {
    static const std::vector<Hostile> texts = {
        {"Apostrophe", "O'Reilly", u"O'Reilly"},
        {"Quote", "Sp. \"Alfa\"", u"Sp. \"Alfa\""},
        {"Semicolon", "a;b", u"a;b"},
        {"SqlComment", "x -- y", u"x -- y"},
        {"SqlInjection", "'; DROP TABLE accounts; --", u"'; DROP TABLE accounts; --"},
        {"InjectionInQuotes", "\"); DELETE FROM transactions; --",
         u"\"); DELETE FROM transactions; --"},
        {"Markup", "<b>&amp;</b> < > &", u"<b>&amp;</b> < > &"},
        // A module's texts are zero-terminated: the boundary carries the text up to the NUL.
        {"Nul", std::string("przed\0po", 8), u"przed"},
        {"TenThousand", repeatText(10000), repeatStored(10000)},
        {"Polish",
         "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 ZA\xAF\xD3\xA3\xC6 G\xCA\x8CL\xA5 "
         "JA\x8F\xD1",
         u"Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ"},
        // 0x81, 0x83, 0x88, 0x90 and 0x98 are no Windows-1250 characters.
        {"NotWindows1250",
         "a\x81"
         "b\x83\x88\x90\x98",
         u"a\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    return texts;
}

const std::u16string kOwn = u"61123456780000000000000001";

QString q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

bool xmllintAccepts(const QString& file) {
    QProcess lint;
    lint.start("xmllint", {"--noout", file});
    return lint.waitForFinished(30000) && lint.exitStatus() == QProcess::NormalExit &&
           lint.exitCode() == 0;
}

std::string readFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string utf8(const std::u16string& text) {
    return XmlExportWriter::ToUtf8(text);
}

// The length OFX 1.0.2 gives a memo; libofx keeps somewhat more and cuts the rest.
constexpr size_t kOfxMemoLength = 255;

void expectOfxAndCsvReadBack(const std::vector<StoredOperation>& ops) {
    TempDir dir;
    const std::string ofx = (dir.path() / "export.ofx").string();
    const std::string csv = (dir.path() / "export.csv").string();
    std::ofstream(ofx, std::ios::binary) << OfxExportWriter::Document(kOwn, ops, 1331802000);
    std::ofstream(csv, std::ios::binary) << CsvExportWriter::Document(ops);
    const OfxDump dump = RunOfxDump(ofx);
    ASSERT_TRUE(dump.ran);
    EXPECT_TRUE(dump.problems.empty()) << dump.problems.front();
    ASSERT_EQ(dump.transactions.size(), ops.size());
    std::string error;
    const auto rows = ReadCsv(csv, error);
    ASSERT_EQ(rows.size(), ops.size() + 1) << error;
    for (size_t i = 0; i < ops.size(); ++i) {
        SCOPED_TRACE(utf8(ops[i].title).substr(0, 20));
        const OfxDump::Block& t = dump.transactions[i];
        EXPECT_EQ(t.at("Financial institution's ID for this transaction"),
                  utf8(OfxExportWriter::FitId(ops[i])));
        EXPECT_EQ(t.at("Name of payee or transaction description"),
                  utf8(ops[i].counterpartyName.substr(0, OfxExportWriter::kNameLength)));
        const std::string memo = utf8(ops[i].title);
        const std::string& read = t.at("Extra transaction information (memo)");
        EXPECT_EQ(read, memo.substr(0, read.size()));
        EXPECT_GE(read.size(), std::min(memo.size(), kOfxMemoLength));
        const std::vector<std::string> fields = {utf8(ops[i].counterpartyName),
                                                 utf8(ops[i].counterpartyAccount), memo};
        EXPECT_EQ(std::vector<std::string>(rows[i + 1].begin() + 5, rows[i + 1].begin() + 8),
                  fields);
    }
}

class HostileInput : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        std::filesystem::create_directories(AppPaths::dataFolder());
        m_store = std::make_unique<SettingsStore>(AppPaths::settingsFile());
        AppSettings::publish(m_store.get());
    }
    void TearDown() override { AppSettings::publish(nullptr); }

    TempAppData m_appData;
    ScopedMessageBoxHandler m_boxes;
    std::unique_ptr<SettingsStore> m_store;
};

// One download of one operation per text, each text in the counterparty account, name and
// title at once.
TEST_F(HostileInput, FromTheModuleStoredListedShownAndExported) {
    const auto& texts = hostileTexts();
    TempDir program;
    std::filesystem::create_directories(program.path() / "banki");
    std::filesystem::copy_file(std::filesystem::path(SCRIPTED_MODULE),
                               program.path() / "banki" / "scripted.module");
    {
        std::ofstream script(program.path() / "banki" / "script-hostile.txt", std::ios::binary);
        script << "account\t61123456780000000000000001\n";
        for (size_t i = 0; i < texts.size(); ++i) {
            const std::string& t = texts[i].cp1250;
            script << "op\t" << i + 1 << "\t0\t3\t-12.5\t1331802000\t1331802000\t" << t << '\t' << t
                   << '\t' << t << '\n';
        }
    }
    {
        sqlite3x::connection db;
        Schema::OpenDatabase(db, AppPaths::databaseFileU16(), [](const std::u16string&) {});
        DownloadJob job;
        job.user = u"hostile";
        job.password = u"'; DROP TABLE accounts; --";
        job.accounts = {kOwn};
        job.names = {u"Konto"};
        job.type = 5;
        DownloadOutcome outcome;
        RunDownload(db, program.path(), {job}, outcome);
        ASSERT_TRUE(outcome.ui.warnings.empty());

        EXPECT_EQ(db.execute_int("SELECT COUNT(*) FROM sqlite_master WHERE name='accounts'"), 1);
        sqlite3x::command select(db,
                                 "SELECT t_tid, t_from_acc, t_from_name, t_desc FROM transactions");
        sqlite3x::reader r = select.execute_reader();
        std::map<int32_t, std::vector<std::u16string>> rows;
        while (r.read()) {
            rows[r.get_int(0)] = {r.get_string(1), r.get_string(2), r.get_string(3)};
        }
        r.close();
        ASSERT_EQ(rows.size(), texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(texts[i].name);
            const std::u16string& want = texts[i].stored;
            EXPECT_EQ(rows[int32_t(i + 1)], (std::vector<std::u16string>{want, want, want}));
        }
    }

    CHistoryDlg window;
    ASSERT_TRUE(window.OnInitDialog());
    const QAbstractItemModel* model = window.listView()->model();
    ASSERT_EQ(model->rowCount(), int(texts.size()));
    std::vector<StoredOperation> exported;
    for (int row = 0; row < model->rowCount(); ++row) {
        const int index = model->index(row, 0).data(CHistoryListModel::kEntryIndexRole).toInt();
        const StoredOperation& entry = window.entries().at(size_t(index));
        const Hostile& text = texts.at(size_t(entry.tid - 1));
        SCOPED_TRACE(text.name);
        const QString want = q(text.stored);
        EXPECT_EQ(model->index(row, CHistoryListModel::kCounterparty).data().toString(), want);
        EXPECT_EQ(model->index(row, CHistoryListModel::kTitle).data().toString(), want);

        CWndDetails details(CWndDetails::FromEntry(entry));
        EXPECT_EQ(DialogTemplate::find<QPlainTextEdit>(&details, 1027)->toPlainText(), want);
        EXPECT_EQ(DialogTemplate::find<QPlainTextEdit>(&details, 1031)->toPlainText(), want);
        EXPECT_EQ(DialogTemplate::find<QLineEdit>(&details, 1028)->text(),
                  q(CWndDetailsText::GroupAccountNumber(text.stored)));
        exported.push_back(entry);
    }

    const QString file = QString::fromStdString((m_appData.root() / "export.xml").string());
    {
        std::ofstream out(file.toStdString(), std::ios::binary);
        out << XmlExportWriter::Document(exported);
    }
    EXPECT_TRUE(xmllintAccepts(file));
    const std::string document = readFile(file);
    for (const Hostile& text : texts) {
        SCOPED_TRACE(text.name);
        const std::string escaped = XmlExportWriter::ToUtf8(XmlExportWriter::Escape(text.stored));
        EXPECT_NE(document.find("<name>" + escaped + "</name>"), std::string::npos);
        EXPECT_NE(document.find("<description>" + escaped + "</description>"), std::string::npos);
        EXPECT_NE(document.find("<account>" + escaped + "</account>"), std::string::npos);
    }
    expectOfxAndCsvReadBack(exported);
}

// The account manager: each text as name, user and password of a new account.
class HostileAccount : public HostileInput, public ::testing::WithParamInterface<Hostile> {};

TEST_P(HostileAccount, StoredAndListedUnchanged) {
    const QString text = q(GetParam().stored);
    const QString number = QStringLiteral("04000000000000000000000000");
    sqlite3x::connection db;
    Schema::OpenDatabase(db, AppPaths::databaseFileU16(), [](const std::u16string&) {});
    {
        CWndAccountManager window(db, CWndAccountManager::BankFiller{});
        window.show();
        const auto put = [&window](int id, const QString& value) {
            auto* edit = DialogTemplate::find<QLineEdit>(&window, id);
            edit->clear();
            QApplication::clipboard()->setText(value);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        };
        put(1015, number);
        put(1016, text);
        put(1017, text);
        put(1018, text);
        QTest::mouseClick(DialogTemplate::find<QPushButton>(&window, 1019), Qt::LeftButton);
        ASSERT_TRUE(m_boxes.calls().empty()) << m_boxes.lastText().toStdString();
        QTest::mouseClick(DialogTemplate::find<QPushButton>(&window, 1), Qt::LeftButton);
    }
    sqlite3x::command select(db, "SELECT a_name, a_user, a_pass, a_number FROM accounts");
    sqlite3x::reader r = select.execute_reader();
    ASSERT_TRUE(r.read());
    EXPECT_EQ(q(r.get_string(0)), text);
    EXPECT_EQ(q(r.get_string(1)), text);
    EXPECT_EQ(q(r.get_string(2)), text);
    EXPECT_EQ(q(r.get_string(3)), number);
    EXPECT_FALSE(r.read());
    r.close();

    CWndAccountManager again(db, CWndAccountManager::BankFiller{});
    const auto* list = DialogTemplate::find<QTableView>(&again, 1014);
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(list->model()->index(0, CWndAccountManager::Name).data().toString(), text);
    EXPECT_EQ(list->model()->index(0, CWndAccountManager::User).data().toString(), text);
    EXPECT_EQ(list->model()->index(0, CWndAccountManager::Password).data().toString(), text);
}

std::vector<Hostile> accountTexts() {
    std::vector<Hostile> texts = hostileTexts();
    // Typed or pasted text has no code page; a NUL stays in it.
    texts.push_back({"NulTyped", "", std::u16string(u"przed\0po", 8)});
    return texts;
}

INSTANTIATE_TEST_SUITE_P(Texts, HostileAccount, ::testing::ValuesIn(accountTexts()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
