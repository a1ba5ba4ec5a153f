// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QWidget>

// The framed information line with an icon, at the bottom of the main window: a white rounded
// box, the icon at its top-left corner and the text word-wrapped beside it, ending with an
// ellipsis when it does not fit.
class CUIInfoLabel : public QWidget {
    Q_OBJECT
public:
    explicit CUIInfoLabel(QWidget* parent = nullptr);
    explicit CUIInfoLabel(const QString& text, QWidget* parent = nullptr);

    // Shows the system's information icon at 16 x 16.
    void SetInfoIcon();
    void SetInfoText(const QString& text);

    QString text() const { return m_text; }
    bool hasIcon() const { return !m_icon.isNull(); }
    int iconSize() const { return m_iconSize; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QIcon m_icon;
    int m_iconSize = 16;
};
