// SPDX-License-Identifier: GPL-3.0-or-later
// The soak program: one worker, one module loader and one database connection, as the main
// window keeps them, run 200 downloads of a few operations each against the simulated bank, the
// way the schedule starts them. Prints resident memory and open descriptors after the 10th and
// the last download; exit 1 when either grew by more than 5 %, or a download failed.
//   tavro-soak [DOWNLOADS]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "BankServer.h"
#include "CPluginLoader.h"
#include "DownloadWorker.h"
#include "FaultDownload.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "TempDir.h"

namespace {

// Windows that show nothing and keep nothing, so that only the program's own memory counts.
class QuietUi : public DownloadUi {
public:
    void enableMainWindow(bool) override {}
    void showProgressWindow(bool) override {}
    void enableCancel() override {}
    void setUpperBar(int32_t) override {}
    void setLowerBar(int32_t) override {}
    void setProgressText(const std::u16string&) override {}
    void setTaskbarState(TaskbarState) override {}
    void setTaskbarValue(int32_t) override {}
    void consoleLine(const std::u16string&) override {}
    void addWarning(const std::u16string&) override { ++warnings; }
    void showWarnings() override {}
    void showBalloon(const std::u16string&, const std::u16string&) override {}
    bool askYesNo(const std::u16string&, const std::u16string&) override { return false; }
    void downloadFinished() override {}

    int warnings = 0;
};

struct Figures {
    long residentKiB = 0;
    long descriptors = 0;
};

Figures measure() {
    Figures figures;
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    figures.residentKiB = resident * (::sysconf(_SC_PAGESIZE) / 1024);
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++figures.descriptors;
    }
    return figures;
}

double growth(long before, long after) {
    return before > 0 ? 100.0 * static_cast<double>(after - before) / static_cast<double>(before)
                      : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
    const int downloads = argc > 1 ? std::atoi(argv[1]) : 200;
    BankServer bank({"--accounts", "1", "--operations", "4", "--days", "30"});
    bank.installModule();
    TempDir data;
    sqlite3x::connection db;
    Schema::OpenDatabase(db, (data.path() / "masterDatabase.sq3").u16string(),
                         [](const std::u16string&) {});
    CPluginLoader loader([](const std::u16string&) {}, bank.folder());
    loader.ScanModules();
    SettingsStore settings(data.path() / "TavroHistory.config");
    QuietUi ui;
    DownloadWorker worker({db, loader, settings, ui, [](const auto&, const auto&) {}});

    Figures tenth;
    for (int i = 1; i <= downloads; ++i) {
        if (!worker.start(DownloadRun{{OneJob(bank, 30)}})) {
            std::printf("download %d did not start\n", i);
            return 1;
        }
        worker.join();
        if (i == 10) {
            tenth = measure();
        }
    }
    const Figures last = measure();
    const double memory = growth(tenth.residentKiB, last.residentKiB);
    const double descriptors = growth(tenth.descriptors, last.descriptors);
    std::printf("%d downloads, %lld rows, %d warnings\n", downloads,
                static_cast<long long>(RowCount(db)), ui.warnings);
    std::printf("resident memory: %ld KiB after the 10th, %ld KiB after the last (%+.1f %%)\n",
                tenth.residentKiB, last.residentKiB, memory);
    std::printf("open descriptors: %ld after the 10th, %ld after the last (%+.1f %%)\n",
                tenth.descriptors, last.descriptors, descriptors);
    return ui.warnings == 0 && memory <= 5.0 && descriptors <= 5.0 ? 0 : 1;
}
