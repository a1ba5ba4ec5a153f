// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CUIDialog.h"

#include <QColor>
#include <QFont>
#include <QString>

// A white dialog with a header band (a bold title and a grey description) at the top and a grey
// button band at the bottom. Derived windows call SetHeader in their constructors.
class CUIWin7Dialog : public CUIDialog {
    Q_OBJECT
public:
    static constexpr int kButtonBandHeight = 50;
    static const QColor kTitleColour;        // #2D5E7C
    static const QColor kDescriptionColour;  // #8B8B8B
    static const QColor kBandColour;         // #EEEEEE
    static const QColor kSeparatorColour;    // #DDDDDD

    explicit CUIWin7Dialog(QWidget* parent = nullptr);

    void SetHeader(const QString& title, const QString& description);
    QString headerTitle() const { return m_title; }
    QString headerDescription() const { return m_description; }

    // Verdana 11 bold and Verdana 8, shared by every such window.
    static const QFont& titleFont();
    static const QFont& descriptionFont();

    // The background a child control gets: white, the band colour for a control whose top edge
    // lies in the button band, and the system's read-only colour for a read-only edit.
    QColor controlBackground(const QWidget* control) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void colourControl(QWidget* control) const;
    void colourControls() const;

    QString m_title;
    QString m_description;
};
