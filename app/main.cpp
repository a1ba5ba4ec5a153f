// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QByteArray>
#include <cstddef>
#include <cstdio>
#include <iostream>
#include <memory>

#include "AppIcon.h"
#include "BackupCommand.h"
#include "CHistoryApp.h"
#include "CommandLine.h"
#include "DemoLauncher.h"
#include "ExportCommand.h"
#include "ImportCommand.h"
#include "LargeBuffers.h"
#include "MessageBox.h"
#include "PasswordsCommand.h"
#include "PolishLocale.h"
#include "SessionBus.h"
#include "SystemKeyring.h"

namespace {

// For tests that run the real program: with TAVRO_MESSAGEBOX=stderr no message box waits for a
// click; each one is printed to the standard error and answered with its default button.
void answerMessageBoxesOnStderr() {
    MessageBox::setHandler([](const MessageBox::Call& call) {
        std::fprintf(stderr, "MessageBox[%s]: %s\n", call.caption.toUtf8().constData(),
                     call.text.toUtf8().constData());
        std::fflush(stderr);
        switch (call.buttons) {
            case MessageBox::Buttons::Ok:
                return MessageBox::Answer::Ok;
            case MessageBox::Buttons::YesNo:
                return MessageBox::Answer::No;
            default:
                return MessageBox::Answer::Cancel;
        }
    });
}

// The commands that run without a window.
int runCommand(const CommandLine& line) {
    if (!line.error().empty()) {
        std::cerr << "tavro: " << line.error() << '\n';
        return 1;
    }
    switch (line.command()) {
        case CommandLine::Command::Help:
            std::cout << CommandLine::HelpText();
            return 0;
        case CommandLine::Command::Export:
            return ExportCommand::Run(line, std::cerr);
        case CommandLine::Command::Import:
            return ImportCommand::Run(line, std::cout, std::cerr);
        case CommandLine::Command::Backup:
            return BackupCommand::Run(line.file(), std::cerr);
        case CommandLine::Command::PasswordsToKeyring:
            return PasswordsCommand::Run(std::cerr);
        case CommandLine::Command::Window:
            break;
    }
    return 1;
}

// The window's options once Qt has taken its own (-platform, -style, ...) out of the arguments.
CommandLine windowOptions() {
    QStringList arguments = QApplication::arguments();
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    return CommandLine::Parse(args);
}

}  // namespace

int main(int argc, char* argv[]) {
    LargeBuffers::returnToTheSystemWhenFreed();
    // The command line works without a window, so it comes before the application object.
    const std::vector<std::string> args = CommandLine::Arguments(argc, argv);
    if (CommandLine::NamesCommand(args)) {
        return runCommand(CommandLine::Parse(args));
    }
    // Before any other thread: it sets the environment for a moment.
    SessionBus::failFastWhenAbsent();
    // What this thread allocates on the way to the first paint (Qt's start, the window, its
    // first drawing: some 2 000 pages of 4 KiB, each a costly first touch) comes from a heap
    // grown in huge pages; the first paint gives back the rest.
    constexpr size_t kStartHeapBytes = size_t{8} << 20;
    LargeBuffers::keepHeapReady(kStartHeapBytes);
    // Before the application object, which it outlives holding no Qt object: Run ends the
    // window and the settings store.
    CHistoryApp app;
    if (args.empty()) {
        app.StartReadingEarly();
    }
    QApplication application(argc, argv);
    const CommandLine options = windowOptions();
    if (!options.error().empty()) {
        return runCommand(options);
    }
    QApplication::setApplicationName(QStringLiteral("Tavro History"));
    // Wayland compositors find the program's icon and name through its desktop entry.
    QGuiApplication::setDesktopFileName(AppIcon::desktopId());
    QApplication::setWindowIcon(AppIcon::program());
    PolishLocale::install(application);
    if (qgetenv("TAVRO_MESSAGEBOX") == "stderr") {
        answerMessageBoxesOnStderr();
    }
    std::unique_ptr<DemoLauncher> demo;
    if (options.demo()) {
        // Before anything could connect: the demo's passwords are the simulated bank's.
        SystemKeyring::switchOff();
        app.markAsDemo();
        demo = std::make_unique<DemoLauncher>();
        // Only once this copy holds the lock: a second demo must not touch the first one's bank
        // or files.
        app.setPrelude([&demo] {
            if (demo->start()) {
                return true;
            }
            MessageBox::show(nullptr, demo->error(), QStringLiteral("Tavro History (demo)"),
                             MessageBox::Buttons::Ok, MessageBox::Icon::Error);
            return false;
        });
    } else {
        // Once this copy holds the lock: a refused second copy talks to nothing.
        app.setPrelude([] {
            SystemKeyring::connect();
            return true;
        });
    }
    return app.Run();
}
