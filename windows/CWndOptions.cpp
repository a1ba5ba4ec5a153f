// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndOptions.h"

#include "DialogTemplate.h"
#include "SettingsStore.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

constexpr int kHideOnMinimize = 1076;
constexpr int kAutoDownload = 1077;
constexpr int kUseTondle = 1078;

const ControlSpec kTemplate[] = {
    {kHideOnMinimize,
     ControlKind::CheckBox,
     QStringLiteral("Minimalizacja do paska systemowego (tray)"),
     {37, 54, 159, 10}},
    {kAutoDownload,
     ControlKind::CheckBox,
     QStringLiteral("Automatycznie pobieraj listę transakji"),
     {37, 73, 159, 10}},
    {-1,
     ControlKind::Label,
     QStringLiteral("Transakcje będą pobrane pół godziny oraz godzinę po Tavroowej sesji KIR, poza "
                    "tym co 2h jeśli mamy dzień"),
     {47, 87, 168, 28}},
    {kUseTondle,
     ControlKind::CheckBox,
     QStringLiteral("Informuj o nowych transakcjach używając 'tondle'"),
     {37, 129, 183, 10}},
    {-1,
     ControlKind::Label,
     QStringLiteral(
         "Jeśli zel jest włączone, to jeśli zostaną pobrane jakieśnowe transakcje to zel "
         "wyświetli o tym swoje powiadomienie"),
     {47, 145, 168, 28}},
    {1, ControlKind::DefPushButton, QStringLiteral("&OK"), {126, 224, 50, 15}},
    {2, ControlKind::PushButton, QStringLiteral("&Anuluj"), {179, 224, 50, 15}},
};

const char16_t* const kHideKey = u"HideOnMinimize";
const char16_t* const kAutoKey = u"AutoDownload";
const char16_t* const kTondleKey = u"UseTondle";

}  // namespace

CWndOptions::CWndOptions(SettingsStore& settings, QWidget* parent)
    : CUIWin7Dialog(parent), m_settings(settings) {
    SetHeader(QStringLiteral("Opcje"),
              QStringLiteral(
                  "Różne opcje dotyczące zachowania programu i interakcji z innymi zabawkami"));
    setWindowTitle(QStringLiteral("Tavro History - Opcje"));
    DialogTemplate tpl(this);
    tpl.setClientSize(233, 247);
    tpl.add(kTemplate);
    m_hideOnMinimize = tpl.control<QCheckBox>(kHideOnMinimize);
    m_autoDownload = tpl.control<QCheckBox>(kAutoDownload);
    m_useTondle = tpl.control<QCheckBox>(kUseTondle);
    m_hideOnMinimize->setChecked(m_settings.GetInt(kHideKey, 0) != 0);
    m_autoDownload->setChecked(m_settings.GetInt(kAutoKey, 0) != 0);
    m_useTondle->setChecked(m_settings.GetInt(kTondleKey, 0) != 0);
    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &CWndOptions::store);
    connect(tpl.control<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
}

void CWndOptions::store() {
    m_settings.SetInt(kHideKey, m_hideOnMinimize->isChecked() ? 1 : 0);
    m_settings.SetInt(kAutoKey, m_autoDownload->isChecked() ? 1 : 0);
    m_settings.SetInt(kTondleKey, m_useTondle->isChecked() ? 1 : 0);
    accept();
}
