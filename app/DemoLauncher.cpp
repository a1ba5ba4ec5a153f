// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoLauncher.h"

#include <sys/prctl.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <csignal>
#include <cstdlib>

#include "AppPaths.h"
#include "CPluginLoader.h"
#include "DemoFolder.h"
#include "Schema.h"
#include "sqlite3x.h"

namespace {

// The history a new user sees: two accounts, a year, a fixed seed so every demo shows the same.
const QStringList kBankHistory = {QStringLiteral("--seed"),       QStringLiteral("2012"),
                                  QStringLiteral("--accounts"),   QStringLiteral("2"),
                                  QStringLiteral("--operations"), QStringLiteral("150"),
                                  QStringLiteral("--days"),       QStringLiteral("365")};
constexpr int kBankStartMs = 30000;

QString pathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

QString afterPrefix(const QString& line, const QString& prefix) {
    return line.startsWith(prefix) ? line.mid(prefix.size()).trimmed() : QString();
}

}  // namespace

DemoLauncher::DemoLauncher() : m_folder(demoFolder()) {}

DemoLauncher::~DemoLauncher() {
    if (m_bank.state() == QProcess::NotRunning) {
        return;
    }
    m_bank.terminate();
    if (!m_bank.waitForFinished(3000)) {
        m_bank.kill();
        m_bank.waitForFinished(3000);
    }
}

std::filesystem::path DemoLauncher::demoFolder() {
    if (const char* named = std::getenv("TAVRO_DEMO_DATA"); named != nullptr && *named != 0) {
        return named;
    }
    if (const char* dataHome = std::getenv("XDG_DATA_HOME");
        dataHome != nullptr && *dataHome != 0) {
        return std::filesystem::path(dataHome) / "tavro-demo";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share" / "tavro-demo";
}

bool DemoLauncher::start() {
    if (DemoFolder::examine(m_folder) == DemoFolder::Verdict::Refused) {
        fail(DemoFolder::refusalText(m_folder));
        return false;
    }
    if (!DemoFolder::claim(m_folder)) {
        fail(QStringLiteral("Nie można utworzyć folderu danych demonstracyjnych '%1'.")
                 .arg(pathText(m_folder)));
        return false;
    }
    // The program below reads this folder as its application-data folder.
    ::setenv("appdata", m_folder.c_str(), 1);
    if (!AppPaths::ensureDataFolder()) {
        fail(QStringLiteral("Nie można utworzyć folderu danych demonstracyjnych '%1'.")
                 .arg(pathText(AppPaths::dataFolder())));
        return false;
    }
    return startBank() && readBanner() && writeModuleFolder() && writeAccounts();
}

bool DemoLauncher::startBank() {
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/tavro-bank");
    if (!QFile::exists(program)) {
        fail(QStringLiteral("Nie znaleziono symulowanego banku '%1'.").arg(program));
        return false;
    }
    QStringList arguments = {QStringLiteral("--port"), QStringLiteral("0"),
                             QStringLiteral("--cert-out"), pathText(m_folder / "bank.pem")};
    arguments += kBankHistory;
    // The bank's log and certificate are the demo's private files from their first byte.
    if (!DemoFolder::createPrivate(m_folder / "bank.err") ||
        !DemoFolder::createPrivate(m_folder / "bank.pem")) {
        fail(QStringLiteral("Nie można zapisać w folderze '%1'.").arg(pathText(m_folder)));
        return false;
    }
    m_bank.setProgram(program);
    m_bank.setArguments(arguments);
    m_bank.setStandardErrorFile(pathText(m_folder / "bank.err"));
    // A killed program must not leave its bank running; what the bank creates is private.
    m_bank.setChildProcessModifier([] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::umask(077);
    });
    m_bank.start(QIODevice::ReadOnly);
    if (!m_bank.waitForStarted(kBankStartMs)) {
        fail(QStringLiteral("Nie udało się uruchomić symulowanego banku: %1")
                 .arg(m_bank.errorString()));
        return false;
    }
    return true;
}

// The bank prints its customer, accounts and address before it serves.
bool DemoLauncher::readBanner() {
    const QDeadlineTimer deadline(kBankStartMs);
    while (!deadline.hasExpired()) {
        while (m_bank.canReadLine()) {
            const QString line = QString::fromUtf8(m_bank.readLine()).trimmed();
            if (const QString user = afterPrefix(line, QStringLiteral("user: ")); !user.isEmpty()) {
                m_banner.user = user;
            } else if (const QString password = afterPrefix(line, QStringLiteral("password: "));
                       !password.isEmpty()) {
                m_banner.password = password;
            } else if (const QString account = afterPrefix(line, QStringLiteral("account: "));
                       !account.isEmpty()) {
                m_banner.accounts << account.section(QLatin1Char(' '), 0, 0);
            } else if (const QString address =
                           afterPrefix(line, QStringLiteral("listening on https://"));
                       !address.isEmpty()) {
                m_banner.host = address.section(QLatin1Char(':'), 0, -2);
                m_banner.port = address.section(QLatin1Char(':'), -1).toInt();
                return true;
            }
        }
        if (m_bank.state() == QProcess::NotRunning) {
            break;
        }
        m_bank.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
    fail(QStringLiteral("Symulowany bank nie wystartował (szczegóły w pliku '%1').")
             .arg(pathText(m_folder / "bank.err")));
    return false;
}

// The module reads its configuration only beside itself, and the installed module's folder
// belongs to root: the demo links the program's modules into a folder of its own, writes the
// configuration there, and the program loads its modules from that folder.
bool DemoLauncher::writeModuleFolder() {
    namespace fs = std::filesystem;
    const fs::path modules = m_folder / "banki";
    const fs::path installed =
        fs::path(QCoreApplication::applicationDirPath().toStdString()) / "banki";
    std::error_code error;
    fs::create_directory(modules, error);
    fs::permissions(modules, fs::perms::owner_all, error);
    for (fs::directory_iterator it(installed, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() != ".module") {
            continue;
        }
        const fs::path link = modules / it->path().filename();
        std::error_code ignored;
        fs::remove(link, ignored);
        fs::create_symlink(it->path(), link, ignored);
    }
    const QString text = QStringLiteral(
                             "host=%1\nport=%2\ncafile=%3\nconnect_timeout=10\n"
                             "low_speed_time=30\n")
                             .arg(m_banner.host)
                             .arg(m_banner.port)
                             .arg(pathText(m_folder / "bank.pem"));
    const fs::path config = modules / "ib_tavro.conf";
    if (!DemoFolder::writePrivate(config, text.toUtf8())) {
        fail(QStringLiteral("Nie można zapisać pliku '%1'.").arg(pathText(config)));
        return false;
    }
    CPluginLoader::UseModuleFolder(modules);
    return true;
}

// The demo folder is the demo's own: its account list is simply the bank's accounts.
bool DemoLauncher::writeAccounts() {
    try {
        sqlite3x::connection con;
        Schema::OpenDatabase(con, AppPaths::databaseFileU16(), [](const std::u16string&) {});
        sqlite3x::transaction work(con);
        sqlite3x::command(con, Schema::kDeleteAllAccounts).execute();
        for (int n = 0; n < m_banner.accounts.size(); ++n) {
            sqlite3x::command insert(con, Schema::kInsertAccount);
            insert.bind_text(1, m_banner.accounts[n].toStdU16String());
            insert.bind_text(2, m_banner.user.toStdU16String());
            insert.bind_text(3, QStringLiteral("Konto demo %1").arg(n + 1).toStdU16String());
            insert.bind_text(4, m_banner.password.toStdU16String());
            insert.bind_int(5, 0);
            insert.execute();
        }
        work.commit();
    } catch (const sqlite3x::database_error& error) {
        fail(QStringLiteral("Nie można przygotować bazy danych demonstracyjnych: %1")
                 .arg(QString::fromUtf8(error.what())));
        return false;
    }
    return true;
}

void DemoLauncher::fail(const QString& reason) {
    m_error = reason;
}
