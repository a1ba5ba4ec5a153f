// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndConsole.h"

#include "DialogTemplate.h"

#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <cstdio>

CWndConsole::CWndConsole(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Konsola"));
    setModal(false);
    QFont font = DialogUnits::windowFont(QStringLiteral("Lucida Console"), 9);
    // Where Lucida Console is missing, another fixed-pitch font keeps the columns.
    font.setStyleHint(QFont::Monospace);
    DialogTemplate tpl(this, font);
    tpl.setClientSize(314, 193);
    tpl.add({
        {kListId, ControlKind::ListBox, {}, {9, 14, 296, 143}},
        {1, ControlKind::DefPushButton, QStringLiteral("OK"), {260, 167, 45, 17}},
    });
    m_list = tpl.control<QListWidget>(kListId);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Long lines (module paths, error texts) can be scrolled to; every line keeps its own
    // width, so that the widest one sets how far.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setTextElideMode(Qt::ElideNone);
    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &QWidget::hide);
}

void CWndConsole::AddLine(const QString& text) {
    if (QThread::currentThread() == thread()) {
        appendLine(text);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, text] { appendLine(text); }, Qt::BlockingQueuedConnection);
}

void CWndConsole::appendLine(const QString& text) {
    // For checks of an installed program that has no one to read its console.
    static const bool copyToStderr = qgetenv("TAVRO_CONSOLE") == "stderr";
    if (copyToStderr) {
        std::fprintf(stderr, "console: %s\n", text.toUtf8().constData());
    }
    m_list->addItem(text);
    m_list->setCurrentRow(m_list->count() - 1);
    m_list->scrollToBottom();
}

QStringList CWndConsole::lines() const {
    QStringList result;
    result.reserve(m_list->count());
    for (int row = 0; row < m_list->count(); ++row) {
        result << m_list->item(row)->text();
    }
    return result;
}
