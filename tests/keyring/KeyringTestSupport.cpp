// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyringTestSupport.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QStringEncoder>
#include <QThread>

PrivateKeyring& PrivateKeyring::shared() {
    static PrivateKeyring keyring;
    return keyring;
}

PrivateKeyring::PrivateKeyring() {
    const QString root = m_dir.path();
    QFile config(root + QStringLiteral("/bus.conf"));
    config.open(QIODevice::WriteOnly);
    config.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus "
                                "Configuration 1.0//EN\" \"http://www.freedesktop.org/standards/"
                                "dbus/1.0/busconfig.dtd\"><busconfig><type>session</type>"
                                "<listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                                "<policy context=\"default\"><allow send_destination=\"*\" "
                                "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                                "</policy></busconfig>")
                     .arg(root)
                     .toUtf8());
    config.close();
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                 QStringLiteral("--config-file=") + config.fileName()});
    if (!m_bus.waitForReadyRead(5000)) {
        return;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());
    QDir().mkpath(home());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home() + QStringLiteral("/share"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root);
    m_daemon.setProcessEnvironment(env);
    m_daemon.setStandardOutputFile(QProcess::nullDevice());
    m_daemon.start(QStringLiteral("gnome-keyring-daemon"),
                   {QStringLiteral("--unlock"), QStringLiteral("--components=secrets"),
                    QStringLiteral("--foreground")});
    // The password is read up to the end of the input; without an event loop it leaves only
    // while waited for.
    m_daemon.write("test-keyring-password");
    m_daemon.waitForBytesWritten(5000);
    m_daemon.closeWriteChannel();
    QString error;
    for (QDeadlineTimer deadline(15000); !m_keyring && !deadline.hasExpired();
         QThread::msleep(100)) {
        m_keyring = SecretServiceKeyring::connect(error);
    }
}

PrivateKeyring::~PrivateKeyring() {
    m_keyring.reset();
    for (QProcess* process : {&m_daemon, &m_bus}) {
        process->kill();
        process->waitForFinished(3000);
    }
}

bool anyFileHolds(const QString& folder, const QString& text) {
    const QByteArray patterns[] = {text.toUtf8(),
                                   QStringEncoder(QStringConverter::Utf16LE).encode(text),
                                   QStringEncoder(QStringConverter::Utf16BE).encode(text)};
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        for (const QByteArray& pattern : patterns) {
            if (bytes.contains(pattern)) {
                return true;
            }
        }
    }
    return false;
}

QString keyringLabel(const QString& id) {
    QProcess tool;
    tool.start(QStringLiteral("secret-tool"),
               {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("id"), id});
    tool.waitForFinished(10000);
    const QString output = QString::fromUtf8(tool.readAll());
    const qsizetype at = output.indexOf(QStringLiteral("label = "));
    return at < 0 ? QString() : output.mid(at + 8).section(QLatin1Char('\n'), 0, 0);
}

void KeyringFixture::SetUp() {
    keyring = PrivateKeyring::shared().keyring();
    ASSERT_NE(keyring, nullptr) << "no private gnome-keyring-daemon";
    qputenv("appdata", m_dir.path().toUtf8());
    AppPaths::ensureDataFolder();
    Schema::OpenDatabase(con, AppPaths::databaseFileU16(), [](const std::u16string&) {});
    settings = std::make_unique<SettingsStore>(AppPaths::settingsFile());
    AppSettings::publish(settings.get());
    PasswordPlace::use(keyring, false);
}

void KeyringFixture::TearDown() {
    PasswordPlace::use(nullptr, false);
    AppSettings::publish(nullptr);
}

void KeyringFixture::insert(const QStringList& account) {
    sqlite3x::command cmd(con, Schema::kInsertAccount);
    for (int i = 0; i < 4; ++i) {
        cmd.bind_text(i + 1, account[i].toStdU16String());
    }
    cmd.bind_int(5, 0);
    cmd.execute();
}

QStringList KeyringFixture::passes() {
    QStringList out;
    sqlite3x::command cmd(con, "SELECT a_pass FROM accounts ORDER BY a_number");
    sqlite3x::reader r = cmd.execute_reader();
    while (r.read()) {
        out << QString::fromStdU16String(r.get_string(0));
    }
    r.close();
    return out;
}
