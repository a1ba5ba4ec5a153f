// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

class CListBoxST;

// Modeless list of the problems downloads ran into. Lines pile up across downloads until the
// user presses "&Zamknij"; the close box only hides the window. Created once by the main
// window (its owner) and fed through CWndDownloadUi.
class CWndWarnings : public QDialog {
    Q_OBJECT
public:
    explicit CWndWarnings(QWidget* parent = nullptr);

    void addWarning(const QString& text);
    QStringList lines() const;

    void accept() override;  // "&Zamknij": clears and hides

private:
    CListBoxST* m_list = nullptr;
};
