// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndSelector.h"

#include "CWndDigitsOnly.h"
#include "DialogTemplate.h"
#include "MessageBox.h"
#include "Schema.h"
#include "SettingsStore.h"
#include "sqlite3x.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace {

constexpr int kAccounts = 1020;
constexpr int kCount = 1021;
constexpr int kUnit = 1066;

const ControlSpec kTemplate[] = {
    {1057, ControlKind::GroupBox, QStringLiteral("Rachunek:"), {3, 7, 221, 36}},
    {kAccounts, ControlKind::DropDownList, {}, {9, 20, 209, 379}},
    {1058, ControlKind::GroupBox, QStringLiteral("Opcje:"), {3, 47, 221, 44}},
    {1045, ControlKind::Label, QStringLiteral("Pobierz historię za ostatnie:"), {9, 59, 92, 8}},
    {kCount, ControlKind::Edit, {}, {9, 71, 24, 13}},
    {kUnit, ControlKind::DropDownList, {}, {38, 71, 44, 81}},
    {1, ControlKind::DefPushButton, QStringLiteral("OK"), {9, 97, 50, 14}},
    {2, ControlKind::PushButton, QStringLiteral("&Anuluj"), {62, 97, 50, 14}},
};

const char16_t* const kCountKey = u"DLO/PastHist";
const char16_t* const kUnitKey = u"DLO/PastMP";
constexpr int kDefaultCount = 14;
constexpr int64_t kDaysPerUnit[] = {1, 7, 31, 365};

}  // namespace

CWndSelector::CWndSelector(sqlite3x::connection& con, SettingsStore& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setWindowTitle(QStringLiteral("Wybór konta ..."));
    DialogTemplate tpl(this);
    tpl.setClientSize(227, 114);
    tpl.add(kTemplate);
    m_accounts = tpl.control<QComboBox>(kAccounts);
    m_count = tpl.control<QLineEdit>(kCount);
    m_unit = tpl.control<QComboBox>(kUnit);
    CWndDigitsOnly::install(m_count);
    m_unit->addItems({QStringLiteral("dni"), QStringLiteral("tygodni"), QStringLiteral("miesięcy"),
                      QStringLiteral("lat")});

    fillAccounts(con);
    m_count->setText(QString::number(m_settings.GetInt(kCountKey, kDefaultCount)));
    const int unit = m_settings.GetInt(kUnitKey, 0);
    m_unit->setCurrentIndex(unit >= 0 && unit < m_unit->count() ? unit : 0);

    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &CWndSelector::confirm);
    connect(tpl.control<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
}

int64_t CWndSelector::DaysFor(int64_t count, int unitIndex) {
    if (count < 0 || unitIndex < 0 || unitIndex >= int(std::size(kDaysPerUnit))) {
        return -1;
    }
    const int64_t factor = kDaysPerUnit[unitIndex];
    if (count > std::numeric_limits<int32_t>::max() / factor) {
        return -1;
    }
    return count * factor;
}

void CWndSelector::fillAccounts(sqlite3x::connection& con) {
    m_accounts->addItem(QStringLiteral("Wszystkie"), QString());
    sqlite3x::command cmd(con, Schema::kSelectDownloadAccountNames);
    sqlite3x::reader rows = cmd.execute_reader();
    while (rows.read()) {
        const QString number = QString::fromStdU16String(rows.get_string(0));
        const QString name = QString::fromStdU16String(rows.get_string(1));
        // The number travels as item data, so it never depends on how the text is cut.
        m_accounts->addItem(QStringLiteral("%1 - %2").arg(number, name), number);
    }
    rows.close();
    m_accounts->setCurrentIndex(0);
}

void CWndSelector::confirm() {
    const int unit = m_unit->currentIndex();
    bool isNumber = false;
    const qlonglong count = m_count->text().trimmed().toLongLong(&isNumber);
    const int64_t days = isNumber ? DaysFor(count, unit) : -1;
    if (days < 0) {
        const int64_t largest = std::numeric_limits<int32_t>::max() / kDaysPerUnit[unit];
        MessageBox::show(this,
                         QStringLiteral("Proszę podać liczbę całkowitą od 0 do %1.").arg(largest),
                         windowTitle(), MessageBox::Buttons::Ok, MessageBox::Icon::Warning);
        m_count->setFocus();
        m_count->selectAll();
        return;
    }
    m_accountIndex = m_accounts->currentIndex();
    m_accountNumber = m_accountIndex > 0 ? m_accounts->currentData().toString() : QString();
    m_settings.SetInt(kCountKey, int32_t(count));
    m_settings.SetInt(kUnitKey, unit);
    m_days = int32_t(days);
    accept();
}
