// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndNRBCalc.h"

#include "CWndDigitsOnly.h"
#include "DialogTemplate.h"
#include "Nrb.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kNumber = 1059;
constexpr int kCheck = 1060;
constexpr int kResult = 1061;

const ControlSpec kTemplate[] = {
    {1044, ControlKind::Label, QStringLiteral("Numer rachunku:"), {9, 31, 58, 8}},
    {kNumber, ControlKind::Edit, {}, {9, 41, 169, 13}},
    {kCheck, ControlKind::PushButton, QStringLiteral("&Sprawdź"), {128, 57, 50, 16}},
    {1045, ControlKind::Label, QStringLiteral("Wynik:"), {9, 80, 24, 8}},
    {kResult, ControlKind::Label, QStringLiteral("Oczekiwanie na dane ..."), {9, 95, 169, 20}},
    {1, ControlKind::DefPushButton, QStringLiteral("&Zamknij"), {128, 132, 50, 16}},
};

}  // namespace

CWndNRBCalc::CWndNRBCalc(QWidget* parent) : CUIWin7Dialog(parent) {
    SetHeader(QStringLiteral("Sprawdzanie numerów NRB2"), QString());
    setWindowTitle(QStringLiteral("Sprawdzanie poprawności numeru konta ..."));
    DialogTemplate tpl(this);
    tpl.setClientSize(187, 156);
    tpl.fitCaption();  // the long caption is cut off in a title bar as narrow as the template
    tpl.add(kTemplate);
    m_number = tpl.control<QLineEdit>(kNumber);
    m_result = tpl.control<QLabel>(kResult);
    CWndDigitsOnly::install(m_number);
    connect(m_number, &QLineEdit::textChanged, this, &CWndNRBCalc::check);
    connect(tpl.control<QPushButton>(kCheck), &QPushButton::clicked, this, &CWndNRBCalc::check);
    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &QDialog::accept);
    m_number->setFocus();
}

QString CWndNRBCalc::ResultText(const QString& text) {
    const std::u16string number = NormalizeNRB(text.toStdU16String());
    if (number.size() != 26) {
        return QStringLiteral("Błędna ilość cyfr, powinno być 26.");
    }
    const NrbCheck check = CheckNRB(number);
    if (check.valid()) {
        return QStringLiteral("Numer rachunku jest poprawny.");
    }
    return QStringLiteral("Błędna suma kontrolna (%1 vs. %2).")
        .arg(check.expected, 2, 10, QLatin1Char('0'))
        .arg(check.entered, 2, 10, QLatin1Char('0'));
}

void CWndNRBCalc::check() {
    m_result->setText(ResultText(m_number->text()));
}
