// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndBusy.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QWidget>

#include <exception>
#include <thread>

void CWndBusy::Run(QWidget* parent, const QString& text, bool large,
                   const std::function<void()>& work) {
    if (!large) {
        work();
        return;
    }
    // Application modal and shown before the loop runs: a scheduled download waits for an open
    // modal window, and must not write through the connection the work may be using.
    QWidget* owner = parent != nullptr && parent->window()->isVisible()
                         ? parent->window()
                         : QApplication::activeWindow();
    QProgressDialog progress(text, QString(), 0, 0, owner);
    progress.setWindowTitle(QStringLiteral("Proszę czekać"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.show();
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: reaches the loop even when the work ends before the loop runs.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
}
