#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "AppPaths.h"
#include "Schema.h"
#include "sqlite3x.h"

namespace {

std::unique_ptr<QApplication> g_application;

// The application must end before static destruction, while Qt's own statics still exist.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override { g_application.reset(); }
};

// gtest takes ownership of the environment.
const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "tavro-tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        // Window tests never need a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        g_application = std::make_unique<QApplication>(argc, argv);
    }
}

TempAppData::TempAppData() {
    m_hadPrevious = qEnvironmentVariableIsSet("appdata");
    m_previous = qgetenv("appdata");
    qputenv("appdata", m_dir.path().toLocal8Bit());
}

TempAppData::~TempAppData() {
    if (m_hadPrevious) {
        qputenv("appdata", m_previous);
    } else {
        qunsetenv("appdata");
    }
}

std::filesystem::path TempAppData::root() const {
    return m_dir.path().toStdString();
}

std::filesystem::path TempAppData::dataFolder() const {
    return root() / "TavroHistory";
}

void CreateDatabase(const std::vector<TestAccount>& accounts,
                    const std::vector<TestOperation>& operations) {
    AppPaths::ensureDataFolder();
    sqlite3x::connection con;
    Schema::OpenDatabase(con, AppPaths::databaseFileU16(), [](const std::u16string&) {});
    sqlite3x::transaction tx(con);
    for (const TestAccount& account : accounts) {
        sqlite3x::command cmd(con, Schema::kInsertAccount);
        cmd.bind_text(1, account.number.toStdU16String());
        cmd.bind_text(2, u"user");
        cmd.bind_text(3, account.name.toStdU16String());
        cmd.bind_text(4, u"secret");
        cmd.bind_int(5, 0);
        cmd.execute();
    }
    for (const TestOperation& op : operations) {
        sqlite3x::command cmd(con, Schema::kInsertOperation);
        cmd.bind_text(1, op.counterpartyAccount.toStdU16String());
        cmd.bind_text(2, op.counterpartyName.toStdU16String());
        cmd.bind_text(3, op.title.toStdU16String());
        cmd.bind_double(4, op.amount);
        cmd.bind_int(5, op.tid);
        cmd.bind_int(6, op.direction);
        cmd.bind_int64(7, op.operationDate);
        cmd.bind_int64(8, op.bookingDate);
        cmd.bind_text(9, op.ownAccount.toStdU16String());
        cmd.bind_text(10, u"");
        cmd.bind_int(11, op.kind);
        cmd.execute();
    }
    tx.commit();
}
