// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndWarnings.h"

#include "CListBoxST.h"
#include "DialogTemplate.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int kList = 1035;
constexpr int kIconSize = 32;

// The program's icon; the standard warning sign when the program has none.
QIcon warningIcon(const QWidget* window) {
    const QIcon program = QApplication::windowIcon();
    if (!program.isNull()) {
        return program;
    }
    return window->style()->standardIcon(QStyle::SP_MessageBoxWarning);
}

}  // namespace

CWndWarnings::CWndWarnings(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Ostrzeżenia"));
    setModal(false);
    DialogTemplate tpl(this);
    tpl.setClientSize(302, 140);
    m_list = tpl.place(new CListBoxST(this), kList, {4, 4, 294, 114});
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->SetImageList({warningIcon(this)}, QSize(kIconSize, kIconSize));
    tpl.add({1, ControlKind::DefPushButton, QStringLiteral("&Zamknij"), {4, 122, 50, 14}});
    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &CWndWarnings::accept);
}

void CWndWarnings::addWarning(const QString& text) {
    // The warning texts end their lines with CR LF.
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_list->AddString(line);
}

QStringList CWndWarnings::lines() const {
    QStringList out;
    for (int row = 0; row < m_list->count(); ++row) {
        out << m_list->item(row)->text();
    }
    return out;
}

void CWndWarnings::accept() {
    m_list->DeleteAll();
    QDialog::accept();
}
