#pragma once

#include "DialogUnits.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <initializer_list>

// What a line of a dialog template creates.
enum class ControlKind {
    PushButton,             // QPushButton
    DefPushButton,          // QPushButton, the default button (Enter)
    Label,                  // QLabel, left aligned, word wrapped
    LabelRight,             // QLabel, right aligned
    LabelCenter,            // QLabel, centred
    Edit,                   // QLineEdit
    PasswordEdit,           // QLineEdit showing dots
    ReadOnlyEdit,           // QLineEdit, read-only
    MultiLineEdit,          // QPlainTextEdit
    ReadOnlyMultiLineEdit,  // QPlainTextEdit, read-only
    DropDownList,           // QComboBox, not editable
    DropDownCombo,          // QComboBox, editable
    CheckBox,               // QCheckBox
    RadioButton,            // QRadioButton
    DateTimePicker,         // DatePicker: calendar popup, the Polish long date
    ProgressBar,            // QProgressBar 0..100, no text
    ListBox,                // QListWidget
    ListView,               // QTableView without a model (the window sets one)
    GroupBox,               // QGroupBox, kept below the other controls (they stay on the dialog)
    TabControl,             // QTabWidget
};

// One line of a template: control id, kind, text, rectangle in dialog units.
struct ControlSpec {
    int id;
    ControlKind kind;
    QString text;
    DluRect rect;
};

// Builds a window's controls from its template table.
//
//     static const ControlSpec kTemplate[] = {
//         {1004, ControlKind::Edit, {}, {60, 10, 120, 12}},
//         {1, ControlKind::DefPushButton, QStringLiteral("OK"), {130, 40, 50, 14}},
//     };
//     DialogTemplate tpl(this);               // Verdana 8 becomes the window's font
//     tpl.setClientSize(190, 60);
//     tpl.add(kTemplate);
//     auto* edit = tpl.control<QLineEdit>(1004);
//     tpl.place(new CSatGraph(this), 1064, {5, 5, 100, 50});   // a control of our own
//
// Every control gets its id as object name ("1004"), so tests find it with
// findChild<QLineEdit*>("1004") or DialogTemplate::find<QLineEdit>(window, 1004).
// Controls are created in table order, which is also the tab order. A label whose text has a
// mnemonic ("&Nazwa:") gets the next control of the table as its buddy, as a static text
// focuses the next control. A combo box's template height is the height of its dropped-down list;
// the closed box takes its natural height. Dialog units are those of the parent's font.
class DialogTemplate {
public:
    explicit DialogTemplate(QWidget* parent, const QFont& font = DialogUnits::windowFont());

    const DialogUnits& units() const { return m_units; }
    QWidget* parent() const { return m_parent; }

    // Resizes the parent to a client area of the given size in dialog units.
    void setClientSize(int widthDlu, int heightDlu);
    QSize clientSize(int widthDlu, int heightDlu) const;

    // Widens the parent where needed so that a window manager's title bar has room for its
    // whole caption: the caption in the desktop's font, bold, plus the frame's icon and buttons.
    void fitCaption();

    QWidget* add(const ControlSpec& entry);
    void add(std::initializer_list<ControlSpec> specs);
    template <std::size_t N>
    void add(const ControlSpec (&specs)[N]) {
        for (const ControlSpec& entry : specs) {
            add(entry);
        }
    }

    // Puts a widget created by the caller (a parent-owned widget) at a rectangle with the id.
    template <class W>
    W* place(W* widget, int id, const DluRect& rect) {
        placeWidget(widget, id, rect);
        return widget;
    }

    template <class W>
    W* control(int id) const {
        return find<W>(m_parent, id);
    }
    template <class W>
    static W* find(const QWidget* window, int id) {
        return window ? window->findChild<W*>(idName(id)) : nullptr;
    }
    static QString idName(int id) { return QString::number(id); }

private:
    QWidget* create(const ControlSpec& entry);
    void placeWidget(QWidget* widget, int id, const DluRect& rect);

    QWidget* m_parent;
    DialogUnits m_units;
    QPointer<class QLabel> m_pendingBuddy;
};
