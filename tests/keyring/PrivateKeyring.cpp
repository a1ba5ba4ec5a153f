#include "PrivateKeyring.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
#include <QThread>
#include <cstdlib>

namespace {

const char* const kBusConfig = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xff);
        bytes += bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1}
                           : QByteArray{&low, 1} + QByteArray{&high, 1};
    }
    return bytes;
}

}  // namespace

PrivateKeyring& PrivateKeyring::shared() {
    static PrivateKeyring keyring;
    return keyring;
}

PrivateKeyring::PrivateKeyring() {
    if (!startBus() || !startDaemon()) {
        return;
    }
    // The daemon takes its bus name a moment after it starts.
    const QDeadlineTimer deadline(15000);
    QString error;
    while (!m_keyring && !deadline.hasExpired()) {
        m_keyring = SecretServiceKeyring::connect(error);
        if (!m_keyring) {
            QThread::msleep(100);
        }
    }
    if (!m_keyring) {
        qWarning("no private keyring: %s", qPrintable(error));
    }
}

PrivateKeyring::~PrivateKeyring() {
    m_keyring.reset();
    for (QProcess* process : {&m_daemon, &m_bus}) {
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
}

bool PrivateKeyring::startBus() {
    const QString config = m_dir.path() + QStringLiteral("/bus.conf");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QString::fromUtf8(kBusConfig).arg(m_dir.path()).toUtf8()) < 0) {
        return false;
    }
    file.close();
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                 QStringLiteral("--print-address=1")});
    if (!m_bus.waitForStarted(5000) || !m_bus.waitForReadyRead(5000)) {
        return false;
    }
    const QByteArray address = m_bus.readLine().trimmed();
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address.constData(), 1);
    return !address.isEmpty();
}

bool PrivateKeyring::startDaemon() {
    const QString home = this->home();
    const QString runtime = m_dir.path() + QStringLiteral("/run");
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    m_daemon.setProcessEnvironment(environment);
    m_daemon.setStandardOutputFile(QProcess::nullDevice());
    m_daemon.start(QStringLiteral("gnome-keyring-daemon"),
                   {QStringLiteral("--unlock"), QStringLiteral("--components=secrets"),
                    QStringLiteral("--foreground")});
    if (!m_daemon.waitForStarted(5000)) {
        return false;
    }
    // The daemon reads the password up to the end of its input; without an event loop the
    // bytes leave only while waited for.
    m_daemon.write("test-keyring-password");
    m_daemon.waitForBytesWritten(5000);
    m_daemon.closeWriteChannel();
    return true;
}

void PrivateKeyring::noSessionBus() {
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tavro-test-bus", 1);
}

bool anyFileHolds(const QString& folder, const QString& text) {
    const QByteArray patterns[] = {text.toUtf8(), utf16(text, false), utf16(text, true)};
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray bytes = file.readAll();
        for (const QByteArray& pattern : patterns) {
            if (bytes.contains(pattern)) {
                return true;
            }
        }
    }
    return false;
}
