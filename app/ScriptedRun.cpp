// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedRun.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
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
                m_step = Step::Done;
                finish();
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

void ScriptedRun::finish() {
    m_timer.stop();
    const auto* list = m_window->findChild<QTableView*>();
    std::fprintf(stderr, "scripted: %s; %d rows\n", m_window->windowTitle().toUtf8().constData(),
                 list->model()->rowCount());
    std::fflush(stderr);
    m_window->close();
}
