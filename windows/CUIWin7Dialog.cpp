// SPDX-License-Identifier: GPL-3.0-or-later
#include "CUIWin7Dialog.h"

#include "CUIWrappedText.h"
#include "DialogUnits.h"

#include <QApplication>
#include <QChildEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>

const QColor CUIWin7Dialog::kTitleColour(0x2D, 0x5E, 0x7C);
const QColor CUIWin7Dialog::kDescriptionColour(0x8B, 0x8B, 0x8B);
const QColor CUIWin7Dialog::kBandColour(0xEE, 0xEE, 0xEE);
const QColor CUIWin7Dialog::kSeparatorColour(0xDD, 0xDD, 0xDD);

namespace {

bool isReadOnlyEdit(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->isReadOnly();
    }
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(control)) {
        return edit->isReadOnly();
    }
    if (const auto* edit = qobject_cast<const QTextEdit*>(control)) {
        return edit->isReadOnly();
    }
    return false;
}

}  // namespace

CUIWin7Dialog::CUIWin7Dialog(QWidget* parent) : CUIDialog(parent) {
    // Painting covers the whole client area.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const QFont& CUIWin7Dialog::titleFont() {
    static const QFont font = DialogUnits::windowFont(QStringLiteral("Verdana"), 11, true);
    return font;
}

const QFont& CUIWin7Dialog::descriptionFont() {
    static const QFont font = DialogUnits::windowFont(QStringLiteral("Verdana"), 8);
    return font;
}

void CUIWin7Dialog::SetHeader(const QString& title, const QString& description) {
    m_title = title;
    m_description = description;
    update();
}

QColor CUIWin7Dialog::controlBackground(const QWidget* control) const {
    if (isReadOnlyEdit(control)) {
        return QApplication::palette(control).color(QPalette::Window);
    }
    return control->y() > height() - kButtonBandHeight ? kBandColour : QColor(Qt::white);
}

void CUIWin7Dialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), Qt::white);

    painter.setFont(titleFont());
    painter.setPen(kTitleColour);
    painter.drawText(QRect(QPoint(10, 0), QPoint(999, 31)),
                     Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine, m_title);

    painter.setFont(descriptionFont());
    painter.setPen(kDescriptionColour);
    CUIWrappedText::draw(painter, m_description, QRect(QPoint(10, 36), QPoint(w - 3, 299)));

    painter.fillRect(QRect(0, h - kButtonBandHeight, w, kButtonBandHeight), kBandColour);
    painter.setPen(kSeparatorColour);
    painter.drawLine(0, h - kButtonBandHeight, w, h - kButtonBandHeight);
}

void CUIWin7Dialog::colourControl(QWidget* control) const {
    QPalette palette = control->palette();
    const QColor colour = controlBackground(control);
    const QPalette::ColorRole role = isReadOnlyEdit(control) ? QPalette::Base : QPalette::Window;
    if (palette.color(role) != colour) {
        palette.setColor(role, colour);
        control->setPalette(palette);
    }
}

void CUIWin7Dialog::colourControls() const {
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isWindow()) {
            colourControl(control);
        }
    }
}

void CUIWin7Dialog::resizeEvent(QResizeEvent* event) {
    CUIDialog::resizeEvent(event);
    colourControls();
    update();
}

void CUIWin7Dialog::showEvent(QShowEvent* event) {
    CUIDialog::showEvent(event);
    colourControls();
}

bool CUIWin7Dialog::event(QEvent* event) {
    if (event->type() == QEvent::ChildAdded) {
        auto* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType()) {
            child->installEventFilter(this);
        }
    }
    return CUIDialog::event(event);
}

bool CUIWin7Dialog::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::Move || event->type() == QEvent::Show) &&
        watched->parent() == this) {
        colourControl(static_cast<QWidget*>(watched));
    }
    return CUIDialog::eventFilter(watched, event);
}
