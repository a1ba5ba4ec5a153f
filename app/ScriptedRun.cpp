// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedRun.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QWindow>
#include <array>
#include <cstdio>

namespace {

constexpr int kPollMs = 100;
constexpr qint64 kGiveUpMs = 120000;

// The selector's controls (their ids), and a year as its period: "1" of the unit "lat".
const char* const kDownloadButton = "1001";
const char* const kSelectorCount = "1021";
const char* const kSelectorUnit = "1066";
const char* const kOkButton = "1";
constexpr int kYears = 3;
// The menu commands that open a window of their own: export, import (its file dialog first),
// undo of an import, the account manager, the options, the account number check and the about
// box. A window that is not shown within this time is reported and passed over.
constexpr std::array<const char*, 7> kWindowCommands = {"32777", "32786", "32787", "32774",
                                                        "32785", "32779", "32775"};
constexpr qint64 kWindowWaitMs = 15000;

void clickLater(QPushButton* button) {
    // Queued: the button may open a modal window, whose loop must not run inside this poll.
    QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
}

}  // namespace

void ScriptedRun::installIfAsked(QDialog* mainWindow) {
    if (mainWindow == nullptr || qgetenv("TAVRO_SCRIPT") != "download") {
        return;
    }
    new ScriptedRun(mainWindow);  // owned by the window
}

ScriptedRun::ScriptedRun(QDialog* mainWindow) : QObject(mainWindow), m_window(mainWindow) {
    m_sinceStart.start();
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &ScriptedRun::poll);
    m_timer.start();
}

void ScriptedRun::poll() {
    if (m_sinceStart.elapsed() > kGiveUpMs) {
        std::fprintf(stderr, "scripted: gave up at step %d\n", static_cast<int>(m_step));
        std::fflush(stderr);
        m_timer.stop();
        m_window->close();
        return;
    }
    switch (m_step) {
        case Step::Press:
            if (pressDownload()) {
                m_step = Step::Select;
            }
            break;
        case Step::Select:
            if (confirmSelector()) {
                m_step = Step::Download;
            }
            break;
        case Step::Download:
            if (downloadEnded()) {
                m_step = Step::OpenWindow;
            }
            break;
        case Step::OpenWindow:
            if (!openNextWindow()) {
                m_step = Step::Done;
                finish();
            } else {
                m_step = Step::CloseWindow;
            }
            break;
        case Step::CloseWindow:
            if (closeShownWindow()) {
                m_step = Step::OpenWindow;
            }
            break;
        case Step::Done:
            break;
    }
}

bool ScriptedRun::pressDownload() {
    auto* button = m_window->findChild<QPushButton*>(kDownloadButton);
    if (button == nullptr || !m_window->isVisible() || !button->isEnabled()) {
        return false;
    }
    clickLater(button);
    return true;
}

bool ScriptedRun::confirmSelector() {
    QWidget* selector = QApplication::activeModalWidget();
    if (selector == nullptr || selector == m_window) {
        return false;
    }
    auto* count = selector->findChild<QLineEdit*>(kSelectorCount);
    auto* unit = selector->findChild<QComboBox*>(kSelectorUnit);
    auto* ok = selector->findChild<QPushButton*>(kOkButton);
    if (count == nullptr || unit == nullptr || ok == nullptr) {
        return false;
    }
    count->setText(QStringLiteral("1"));
    unit->setCurrentIndex(kYears);
    clickLater(ok);
    return true;
}

// The main window is disabled while the download runs; the list of a fresh data folder fills
// only after it.
bool ScriptedRun::downloadEnded() {
    const auto* list = m_window->findChild<QTableView*>();
    return m_window->isEnabled() && list != nullptr && list->model() != nullptr &&
           list->model()->rowCount() > 0;
}

// Triggers the next command that opens a window; false when none is left.
bool ScriptedRun::openNextWindow() {
    while (m_nextWindow < kWindowCommands.size()) {
        auto* action = m_window->findChild<QAction*>(kWindowCommands[m_nextWindow++]);
        if (action != nullptr && action->isEnabled()) {
            QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
            m_sinceOpened.start();
            return true;
        }
    }
    return false;
}

// Once the window is up and the compositor shows it: its title, then cancelled as Escape would.
bool ScriptedRun::closeShownWindow() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (m_sinceOpened.elapsed() > kWindowWaitMs) {
        std::fprintf(stderr, "scripted window not shown: %s\n", kWindowCommands[m_nextWindow - 1]);
        std::fflush(stderr);
        return true;
    }
    if (dialog == nullptr || dialog == m_window || dialog->windowHandle() == nullptr ||
        !dialog->windowHandle()->isExposed()) {
        return false;
    }
    std::fprintf(stderr, "scripted window: %s\n", dialog->windowTitle().toUtf8().constData());
    std::fflush(stderr);
    QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    return true;
}

void ScriptedRun::finish() {
    m_timer.stop();
    const auto* list = m_window->findChild<QTableView*>();
    std::fprintf(stderr, "scripted: %s; %d rows\n", m_window->windowTitle().toUtf8().constData(),
                 list->model()->rowCount());
    std::fflush(stderr);
    m_window->close();
}
