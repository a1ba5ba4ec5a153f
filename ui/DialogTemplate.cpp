#include "DialogTemplate.h"

#include "DatePicker.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

namespace {

// A title bar's icon, its three buttons and the margins around the caption, in pixels.
constexpr int kTitleBarReserve = 120;

QLabel* makeLabel(const QString& text, Qt::Alignment alignment, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(alignment == Qt::AlignLeft);
    return label;
}

QLineEdit* makeEdit(const QString& text, QLineEdit::EchoMode echo, bool readOnly, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setEchoMode(echo);
    edit->setReadOnly(readOnly);
    return edit;
}

QPlainTextEdit* makeMultiLine(const QString& text, bool readOnly, QWidget* parent) {
    auto* edit = new QPlainTextEdit(text, parent);
    edit->setReadOnly(readOnly);
    return edit;
}

QPushButton* makeButton(const QString& text, bool isDefault, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(isDefault);
    button->setDefault(isDefault);
    return button;
}

QComboBox* makeCombo(bool editable, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    return combo;
}

QProgressBar* makeProgress(QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

QTableView* makeListView(QWidget* parent) {
    auto* view = new QTableView(parent);
    view->verticalHeader()->hide();
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setShowGrid(false);
    return view;
}

bool hasMnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] != u'&') {
                return true;
            }
            ++i;
        }
    }
    return false;
}

}  // namespace

DialogTemplate::DialogTemplate(QWidget* parent, const QFont& font)
    : m_parent(parent), m_units(font) {
    m_parent->setFont(font);
}

QSize DialogTemplate::clientSize(int widthDlu, int heightDlu) const {
    return m_units.toPixels(QSize(widthDlu, heightDlu));
}

void DialogTemplate::setClientSize(int widthDlu, int heightDlu) {
    m_parent->resize(clientSize(widthDlu, heightDlu));
}

QWidget* DialogTemplate::create(const ControlSpec& entry) {
    QWidget* p = m_parent;
    switch (entry.kind) {
        case ControlKind::PushButton:
            return makeButton(entry.text, false, p);
        case ControlKind::DefPushButton:
            return makeButton(entry.text, true, p);
        case ControlKind::Label:
            return makeLabel(entry.text, Qt::AlignLeft, p);
        case ControlKind::LabelRight:
            return makeLabel(entry.text, Qt::AlignRight, p);
        case ControlKind::LabelCenter:
            return makeLabel(entry.text, Qt::AlignHCenter, p);
        case ControlKind::Edit:
            return makeEdit(entry.text, QLineEdit::Normal, false, p);
        case ControlKind::PasswordEdit:
            return makeEdit(entry.text, QLineEdit::Password, false, p);
        case ControlKind::ReadOnlyEdit:
            return makeEdit(entry.text, QLineEdit::Normal, true, p);
        case ControlKind::MultiLineEdit:
            return makeMultiLine(entry.text, false, p);
        case ControlKind::ReadOnlyMultiLineEdit:
            return makeMultiLine(entry.text, true, p);
        case ControlKind::DropDownList:
            return makeCombo(false, p);
        case ControlKind::DropDownCombo:
            return makeCombo(true, p);
        case ControlKind::CheckBox:
            return new QCheckBox(entry.text, p);
        case ControlKind::RadioButton:
            return new QRadioButton(entry.text, p);
        case ControlKind::DateTimePicker:
            return new DatePicker(p);
        case ControlKind::ProgressBar:
            return makeProgress(p);
        case ControlKind::ListBox:
            return new QListWidget(p);
        case ControlKind::ListView:
            return makeListView(p);
        case ControlKind::GroupBox:
            return new QGroupBox(entry.text, p);
        case ControlKind::TabControl:
            return new QTabWidget(p);
    }
    return new QWidget(p);
}

QWidget* DialogTemplate::add(const ControlSpec& entry) {
    QWidget* widget = create(entry);
    placeWidget(widget, entry.id, entry.rect);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // The template's height is the dropped-down extent; the closed box keeps its own.
        combo->resize(combo->width(), combo->sizeHint().height());
    }
    if (entry.kind == ControlKind::GroupBox) {
        // A frame drawn around controls must never take their clicks, whatever the table order.
        widget->lower();
    }
    if (auto* label = qobject_cast<QLabel*>(widget); label && hasMnemonic(entry.text)) {
        m_pendingBuddy = label;
    }
    return widget;
}

void DialogTemplate::add(std::initializer_list<ControlSpec> specs) {
    for (const ControlSpec& entry : specs) {
        add(entry);
    }
}

void DialogTemplate::placeWidget(QWidget* widget, int id, const DluRect& rect) {
    if (widget->parentWidget() != m_parent) {
        widget->setParent(m_parent);
    }
    widget->setObjectName(idName(id));
    widget->setGeometry(m_units.toPixels(rect));
    if (m_pendingBuddy && !qobject_cast<QLabel*>(widget) && !qobject_cast<QGroupBox*>(widget)) {
        m_pendingBuddy->setBuddy(widget);
        m_pendingBuddy.clear();
    }
}

void DialogTemplate::fitCaption() {
    QFont font = QApplication::font();
    font.setBold(true);
    const int needed =
        QFontMetrics(font).horizontalAdvance(m_parent->windowTitle()) + kTitleBarReserve;
    if (m_parent->width() < needed) {
        m_parent->resize(needed, m_parent->height());
    }
}
