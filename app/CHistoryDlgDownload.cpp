// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's downloads: building the jobs, the one worker, the schedule, and stopping a
// download when the window closes.
#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <chrono>
#include <thread>
#include <utility>

#include "AppSettings.h"
#include "CHistoryDlg.h"
#include "CPluginLoader.h"
#include "CWndDownloadUi.h"
#include "CWndSelector.h"
#include "Clock.h"
#include "ClosingDownloadUi.h"
#include "DownloadJobBuilder.h"
#include "DownloadWorker.h"
#include "KeyringJobPasswords.h"
#include "TrayIcon.h"

namespace {

const char16_t* const kAutoDownloadKey = u"AutoDownload";

// "1230" -> "12:30"
QString slotTime(const QString& slot) {
    return slot.left(2) + QLatin1Char(':') + slot.mid(2);
}

}  // namespace

bool CHistoryDlg::downloadRunning() const {
    return m_worker && m_worker->isRunning();
}

void CHistoryDlg::StartDownload() {
    SettingsStore* settings = AppSettings::store();
    if (settings == nullptr || !m_loader) {
        return;
    }
    CWndSelector selector(m_con, *settings, this);
    if (selector.exec() != QDialog::Accepted) {
        return;
    }
    const std::vector<AccountRow> rows =
        selector.accountIndex() > 0
            ? DownloadJobBuilder::ReadAccount(m_con, selector.accountNumber().toStdU16String())
            : DownloadJobBuilder::ReadAccountsByName(m_con);
    startRun(DownloadRun{DownloadJobBuilder::GroupByLogOn(rows, selector.days())});
}

void CHistoryDlg::StartScheduledDownload() {
    if (!m_loader) {
        return;
    }
    startRun(
        DownloadRun{DownloadJobBuilder::OnePerAccount(DownloadJobBuilder::ReadAllAccounts(m_con))});
}

bool CHistoryDlg::startRun(DownloadRun run) {
    if (run.jobs.empty() || m_destroyed) {
        return false;
    }
    // A schedule slot may have started a download while the selector was open.
    if (downloadRunning()) {
        ConsoleLine(QStringLiteral("\tPobieranie już trwa, następne nie zostanie rozpoczęte"));
        return false;
    }
    if (!ensureWorker()) {
        return false;
    }
    return m_worker->start(std::move(run));
}

bool CHistoryDlg::ensureWorker() {
    if (m_worker) {
        return true;
    }
    SettingsStore* settings = AppSettings::store();
    if (settings == nullptr || !m_loader) {
        return false;
    }
    CWndDownloadUi::Hooks hooks{
        [this](const std::u16string& line) { ConsoleLine(line); },
        [this](const QString& title, const QString& text) { m_tray->showMessage(title, text); },
        [this] { StartReloadTimer(); }};
    m_downloadUi = std::make_unique<ClosingDownloadUi>(
        std::make_unique<CWndDownloadUi>(this, m_progress, m_warnings, std::move(hooks)));
    // Keeps no state: one answers every window's jobs.
    static KeyringJobPasswords passwords;
    m_worker = std::make_unique<DownloadWorker>(
        DownloadServices{m_con, modules(), *settings, *m_downloadUi, {}, &passwords});
    return true;
}

// The worker waits on this thread for its console lines and questions, so the thread keeps
// serving events until the worker has ended; the module is asked to stop again and again,
// as a job may begin between two requests.
void CHistoryDlg::stopDownload() {
    if (!m_worker) {
        return;
    }
    m_downloadUi->setClosing();
    using namespace std::chrono_literals;
    while (m_worker->isRunning()) {
        if (m_loader) {
            m_loader->AbortRunningModule();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(10ms);
    }
    m_worker.reset();
    // Calls the worker queued for this thread go with the windows' bridge.
    m_downloadUi.reset();
}

QString CHistoryDlg::ScheduleSlotAt(int64_t seconds) const {
    const QTime time = QDateTime::fromSecsSinceEpoch(seconds).time();
    const QString now = QString::asprintf("%02d%02d", time.hour(), time.minute());
    for (const QString& slot : m_schedule) {
        if (slot == now) {
            return slot;
        }
    }
    return {};
}

// Another modal window (the account manager, the selector, ...) may be writing to the one
// connection; a worker's open transaction would swallow or roll back its statements.
bool CHistoryDlg::otherWindowOpen() const {
    const QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal != this;
}

// Every 60 s. A slot is due for its whole minute. A running download makes the slot pass; an
// open window makes it wait until the last one has closed.
void CHistoryDlg::OnScheduleTimer() {
    if (AppSettings::GetInt(kAutoDownloadKey, 0) == 0) {
        return;
    }
    const QString slot = ScheduleSlotAt(Clock::now());
    if (slot.isEmpty() || downloadRunning()) {
        return;
    }
    if (otherWindowOpen()) {
        if (m_waitingSlot.isEmpty()) {
            m_waitingSlot = slot;
            ConsoleLine(QStringLiteral("\tOtwarte okno: automatyczne pobieranie (%1) ruszy po "
                                       "jego zamknięciu")
                            .arg(slotTime(slot)));
            m_slotWaitTimer.start();
        }
        return;
    }
    ConsoleLine(QStringLiteral("Automatyczne pobieranie historii (%1)").arg(slotTime(slot)));
    runGuarded([this] { StartScheduledDownload(); });
}

// Polled while a slot waits: the windows give no notice when they close. However many slots
// fell meanwhile, one download runs.
void CHistoryDlg::OnSlotWaitTimer() {
    if (otherWindowOpen()) {
        return;
    }
    m_slotWaitTimer.stop();
    const QString slot = std::exchange(m_waitingSlot, QString());
    if (AppSettings::GetInt(kAutoDownloadKey, 0) == 0 || m_destroyed) {
        return;
    }
    if (downloadRunning()) {
        ConsoleLine(QStringLiteral("\tPobieranie już trwa: automatyczne pobieranie (%1) pominięte")
                        .arg(slotTime(slot)));
        return;
    }
    ConsoleLine(QStringLiteral("Automatyczne pobieranie historii (%1), odłożone do zamknięcia okna")
                    .arg(slotTime(slot)));
    runGuarded([this] { StartScheduledDownload(); });
}
