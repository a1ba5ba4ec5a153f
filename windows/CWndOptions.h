// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CUIWin7Dialog.h"

class QCheckBox;
class SettingsStore;

// Three on/off behaviours kept in the settings store. Run modally:
// CWndOptions dlg(settings, mainWindow); dlg.exec();  // OK stores, Cancel stores nothing
class CWndOptions : public CUIWin7Dialog {
    Q_OBJECT
public:
    explicit CWndOptions(SettingsStore& settings, QWidget* parent = nullptr);

private:
    void store();

    SettingsStore& m_settings;
    QCheckBox* m_hideOnMinimize = nullptr;
    QCheckBox* m_autoDownload = nullptr;
    QCheckBox* m_useTondle = nullptr;
};
