// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's statement import: the menu commands and files dropped on the window.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "CHistoryDlg.h"
#include "CWndFileDialog.h"
#include "CWndImport.h"
#include "CWndImportUndo.h"
#include "ImportSet.h"
#include "MessageBox.h"

namespace {

QStringList localFiles(const QMimeData* mime) {
    QStringList paths;
    if (mime == nullptr || !mime->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    return paths;
}

}  // namespace

void CHistoryDlg::OnImport() {
    const QStringList paths = CWndFileDialog::getOpenFileNames(
        this, QStringLiteral("Wyciągi (*.sta *.mt940 *.940 *.txt *.xml *.ofx *.csv);;"
                             "Wszystkie pliki (*)"));
    if (!paths.isEmpty()) {
        OpenImport(paths);
    }
}

void CHistoryDlg::OpenImport(const QStringList& paths) {
    if (downloadRunning()) {
        // Both would write through the one connection at once.
        MessageBox::show(this,
                         QStringLiteral("Trwa pobieranie historii; zaimportuj wyciąg po jego "
                                        "zakończeniu."),
                         windowTitle(), MessageBox::Buttons::Ok, MessageBox::Icon::Warning);
        return;
    }
    CWndImport dlg(m_con, this);
    if (dlg.addFiles(paths) == 0 || dlg.exec() != QDialog::Accepted) {
        return;
    }
    const QStringList names = dlg.fileNames();
    for (size_t i = 0; i < dlg.summaries().size(); ++i) {
        const ImportSummary& summary = dlg.summaries()[i];
        ConsoleLine(QStringLiteral("Import wyciągu: %1").arg(names.value(int(i))));
        for (const AccountCounts& counts : summary.accounts) {
            ConsoleLine(ImportSet::CountsLine(counts));
        }
    }
    OnReloadList();
}

void CHistoryDlg::OnUndoImport() {
    if (downloadRunning()) {
        return;
    }
    bool changed = false;
    runGuarded([this, &changed] {
        CWndImportUndo dlg(m_con, this);
        dlg.exec();
        changed = dlg.changed();
    });
    if (changed) {
        OnReloadList();
    }
}

void CHistoryDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CHistoryDlg::dropEvent(QDropEvent* event) {
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // The window opens after the drop has ended, so that the file manager is not kept waiting.
    QMetaObject::invokeMethod(
        this, [this, paths] { OpenImport(paths); }, Qt::QueuedConnection);
}
