// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndFileDialog.h"

#include <QFileDialog>
#include <mutex>

namespace {

std::mutex g_lock;
CWndFileDialog::Handler g_handler;
CWndFileDialog::OpenHandler g_openHandler;

CWndFileDialog::Handler currentHandler() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_handler;
}

}  // namespace

std::optional<QString> CWndFileDialog::getSaveFileName(QWidget* parent, const Request& request) {
    if (const Handler handler = currentHandler()) {
        return handler(request);
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

void CWndFileDialog::setHandler(Handler handler) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_handler = std::move(handler);
}

QStringList CWndFileDialog::getOpenFileNames(QWidget* parent, const QString& filter) {
    OpenHandler handler;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        handler = g_openHandler;
    }
    if (handler) {
        return handler(filter);
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilter(filter);
    dialog.setSizeGripEnabled(true);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

void CWndFileDialog::setOpenHandler(OpenHandler handler) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_openHandler = std::move(handler);
}
