// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>

// `tavro --demo`: the simulated bank installed beside the program serves a generated history on
// 127.0.0.1, the program runs on a data folder of the demo's own (never the user's, see
// DemoFolder) whose account list holds the bank's accounts, and loads its modules from a folder
// inside it where the module is linked beside a configuration that points at the bank. The
// bank stops with this object, and with the program if it is killed.
class DemoLauncher {
public:
    DemoLauncher();
    ~DemoLauncher();
    DemoLauncher(const DemoLauncher&) = delete;
    DemoLauncher& operator=(const DemoLauncher&) = delete;

    // Checks and claims the demo folder, starts the bank, prepares the module folder and the
    // account list, and makes the demo folder the program's application-data folder. False
    // with a Polish reason in error(); a refused folder is left untouched. Call it only while
    // holding the single-instance lock.
    bool start();
    const QString& error() const { return m_error; }

    // $TAVRO_DEMO_DATA when set, else <user's data home>/tavro-demo.
    static std::filesystem::path demoFolder();

private:
    struct Banner {
        QString host;
        int port = 0;
        QString user;
        QString password;
        QStringList accounts;
    };

    bool startBank();
    bool readBanner();
    bool writeModuleFolder();
    bool writeAccounts();
    void fail(const QString& reason);

    std::filesystem::path m_folder;
    QProcess m_bank;
    Banner m_banner;
    QString m_error;
};
