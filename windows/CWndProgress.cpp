// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndProgress.h"

#include "CPluginLoader.h"
#include "DialogTemplate.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kUpper = 1011;
constexpr int kLower = 1012;
constexpr int kText = 1013;
constexpr int kCancel = 2;

const ControlSpec kTemplate[] = {
    {kUpper, ControlKind::ProgressBar, {}, {3, 7, 257, 17}},
    {kLower, ControlKind::ProgressBar, {}, {3, 27, 257, 17}},
    {kText, ControlKind::Label, QStringLiteral("Postęp ..."), {3, 49, 201, 17}},
    {kCancel, ControlKind::PushButton, QStringLiteral("&Anuluj"), {210, 49, 50, 17}},
};

}  // namespace

CWndProgress::CWndProgress(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Postęp operacji..."));
    setModal(false);
    DialogTemplate tpl(this);
    tpl.setClientSize(263, 71);
    tpl.add(kTemplate);
    m_upper = tpl.control<QProgressBar>(kUpper);
    m_lower = tpl.control<QProgressBar>(kLower);
    m_text = tpl.control<QLabel>(kText);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_text->setWordWrap(false);
    m_cancel = tpl.control<QPushButton>(kCancel);
    connect(m_cancel, &QPushButton::clicked, this, &CWndProgress::cancel);
}

void CWndProgress::setLoader(CPluginLoader* loader) {
    if (loader == nullptr) {
        m_abort = nullptr;
        return;
    }
    m_abort = [loader] { loader->AbortRunningModule(); };
}

void CWndProgress::setUpperBar(int percent) {
    m_upper->setValue(qBound(0, percent, 100));
}

void CWndProgress::setLowerBar(int percent) {
    m_lower->setValue(qBound(0, percent, 100));
}

void CWndProgress::setText(const QString& text) {
    m_text->setText(text);
}

void CWndProgress::enableCancel() {
    m_cancel->setEnabled(true);
}

void CWndProgress::reject() {
    if (m_cancel->isEnabled()) {
        cancel();
    }
}

void CWndProgress::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_cancel->setEnabled(true);
}

void CWndProgress::cancel() {
    if (m_abort) {
        m_abort();
    }
    m_cancel->setEnabled(false);
}
