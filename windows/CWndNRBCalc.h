// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CUIWin7Dialog.h"

class QLabel;
class QLineEdit;

// Checks an account number by hand while the user types; reads and stores nothing.
// Run modally: CWndNRBCalc dlg(parent); dlg.exec();
class CWndNRBCalc : public CUIWin7Dialog {
    Q_OBJECT
public:
    explicit CWndNRBCalc(QWidget* parent = nullptr);

    // The verdict for a text as typed (spaces and hyphens ignored).
    static QString ResultText(const QString& text);

private:
    void check();

    QLineEdit* m_number = nullptr;
    QLabel* m_result = nullptr;
};
