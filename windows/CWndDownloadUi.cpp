// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndDownloadUi.h"

#include "CUIDialog.h"
#include "CWndProgress.h"
#include "CWndWarnings.h"
#include "MessageBox.h"
#include "TaskbarProgress.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

CWndDownloadUi::CWndDownloadUi(CUIDialog* mainWindow, CWndProgress* progress,
                               CWndWarnings* warnings, Hooks hooks)
    : m_context(std::make_unique<QObject>()),
      m_mainWindow(mainWindow),
      m_progress(progress),
      m_warnings(warnings),
      m_hooks(std::move(hooks)) {}

CWndDownloadUi::~CWndDownloadUi() = default;

void CWndDownloadUi::deliver(std::function<void()> call, Delivery delivery) {
    if (QThread::currentThread() == m_context->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(
        m_context.get(), std::move(call),
        delivery == Delivery::Blocking ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

void CWndDownloadUi::enableMainWindow(bool enable) {
    deliver(
        [this, enable] {
            if (!m_mainWindow) {
                return;
            }
            m_mainWindow->setEnabled(enable);
            // Only the main window is locked: its own windows (progress, warnings, console)
            // stay usable, or nobody could press Cancel.
            for (QObject* child : m_mainWindow->children()) {
                auto* window = qobject_cast<QWidget*>(child);
                if (window != nullptr && window->isWindow()) {
                    window->setEnabled(true);
                }
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::showProgressWindow(bool show) {
    deliver(
        [this, show] {
            if (!m_progress) {
                return;
            }
            if (show) {
                m_progress->show();
                m_progress->raise();
            } else {
                m_progress->hide();
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::enableCancel() {
    deliver(
        [this] {
            if (m_progress) {
                m_progress->enableCancel();
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::setUpperBar(int32_t percent) {
    deliver(
        [this, percent] {
            if (m_progress) {
                m_progress->setUpperBar(percent);
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::setLowerBar(int32_t percent) {
    deliver(
        [this, percent] {
            if (m_progress) {
                m_progress->setLowerBar(percent);
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::setProgressText(const std::u16string& text) {
    deliver(
        [this, text = QString::fromStdU16String(text)] {
            if (m_progress) {
                m_progress->setText(text);
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::setTaskbarState(TaskbarState state) {
    const int value =
        state == TaskbarState::Normal ? TaskbarProgress::Normal : TaskbarProgress::NoProgress;
    deliver(
        [this, value] {
            if (m_mainWindow) {
                m_mainWindow->SetTaskbarProgressState(value);
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::setTaskbarValue(int32_t percent) {
    deliver(
        [this, percent] {
            if (m_mainWindow) {
                m_mainWindow->SetTaskbarProgress(percent);
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::consoleLine(const std::u16string& line) {
    if (!m_hooks.console) {
        return;
    }
    deliver([this, &line] { m_hooks.console(line); }, Delivery::Blocking);
}

void CWndDownloadUi::addWarning(const std::u16string& text) {
    deliver(
        [this, text = QString::fromStdU16String(text)] {
            if (m_warnings) {
                m_warnings->addWarning(text);
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::showWarnings() {
    deliver(
        [this] {
            if (m_warnings) {
                m_warnings->show();
                m_warnings->raise();
            }
        },
        Delivery::Queued);
}

void CWndDownloadUi::showBalloon(const std::u16string& title, const std::u16string& text) {
    if (!m_hooks.balloon) {
        return;
    }
    deliver([this, title = QString::fromStdU16String(title),
             text = QString::fromStdU16String(text)] { m_hooks.balloon(title, text); },
            Delivery::Queued);
}

bool CWndDownloadUi::askYesNo(const std::u16string& text, const std::u16string& caption) {
    bool yes = false;
    deliver(
        [&] {
            yes = MessageBox::show(nullptr, QString::fromStdU16String(text),
                                   QString::fromStdU16String(caption), MessageBox::Buttons::YesNo,
                                   MessageBox::Icon::Question) == MessageBox::Answer::Yes;
        },
        Delivery::Blocking);
    return yes;
}

void CWndDownloadUi::downloadFinished() {
    if (!m_hooks.finished) {
        return;
    }
    deliver([this] { m_hooks.finished(); }, Delivery::Queued);
}
