// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndDetails.h"

#include "CWndDetailsText.h"
#include "DialogTemplate.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int kName = 1027;
constexpr int kCounterpartyAccount = 1028;
constexpr int kOperationDate = 1029;
constexpr int kBookingDate = 1030;
constexpr int kTitle = 1031;
constexpr int kOwnAccount = 1032;
constexpr int kAmount = 1033;
constexpr int kPrint = 1069;

const ControlSpec kTemplate[] = {
    {1044, ControlKind::LabelRight, QStringLiteral("Nazwa:"), {49, 44, 25, 8}},
    {kName, ControlKind::ReadOnlyMultiLineEdit, {}, {81, 44, 154, 29}},
    {1045, ControlKind::LabelRight, QStringLiteral("Rachunek:"), {38, 79, 36, 8}},
    {kCounterpartyAccount, ControlKind::ReadOnlyEdit, {}, {81, 79, 154, 12}},
    {1047, ControlKind::LabelRight, QStringLiteral("Data księgowania:"), {12, 124, 62, 8}},
    {kBookingDate, ControlKind::ReadOnlyEdit, {}, {81, 124, 154, 12}},
    {1046, ControlKind::LabelRight, QStringLiteral("Data operacji:"), {26, 141, 48, 8}},
    {kOperationDate, ControlKind::ReadOnlyEdit, {}, {81, 141, 154, 12}},
    {1048, ControlKind::LabelRight, QStringLiteral("Tytułem:"), {44, 159, 30, 8}},
    {kTitle, ControlKind::ReadOnlyMultiLineEdit, {}, {81, 159, 154, 30}},
    {1049, ControlKind::LabelRight, QStringLiteral("Kwota:"), {50, 214, 24, 8}},
    {kAmount, ControlKind::ReadOnlyEdit, {}, {81, 214, 154, 12}},
    {1053, ControlKind::LabelRight, QStringLiteral("Konto właściciela:"), {15, 232, 59, 8}},
    {kOwnAccount, ControlKind::ReadOnlyEdit, {}, {81, 232, 154, 12}},
    {kPrint, ControlKind::PushButton, QStringLiteral("Drukuj ..."), {132, 273, 50, 15}},
    {1, ControlKind::DefPushButton, QStringLiteral("&Zamknij"), {185, 273, 50, 15}},
};

QString grouped(const QString& number) {
    return QString::fromStdU16String(CWndDetailsText::GroupAccountNumber(number.toStdU16String()));
}

}  // namespace

CWndDetails::CWndDetails(const Data& data, QWidget* parent) : CUIWin7Dialog(parent) {
    SetHeader(QStringLiteral("Szczegóły operacji"), QString());
    setWindowTitle(QStringLiteral("Szczegóły operacji"));
    DialogTemplate tpl(this);
    tpl.setClientSize(246, 297);
    tpl.add(kTemplate);

    tpl.control<QPlainTextEdit>(kName)->setPlainText(data.counterpartyName);
    tpl.control<QPlainTextEdit>(kTitle)->setPlainText(data.title);
    tpl.control<QLineEdit>(kCounterpartyAccount)->setText(grouped(data.counterpartyAccount));
    tpl.control<QLineEdit>(kOwnAccount)->setText(grouped(data.ownAccount));
    tpl.control<QLineEdit>(kOperationDate)->setText(data.operationDate);
    tpl.control<QLineEdit>(kBookingDate)->setText(data.bookingDate);
    tpl.control<QLineEdit>(kAmount)->setText(
        QString::fromStdU16String(CWndDetailsText::FormatAmount(data.amount)));
    // Long single-line texts open at their beginning.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        edit->setCursorPosition(0);
    }

    tpl.control<QPushButton>(kPrint)->setEnabled(false);
    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &QDialog::accept);
}

QString CWndDetails::FormatDate(qint64 seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("dd-MM-yyyy"));
}
