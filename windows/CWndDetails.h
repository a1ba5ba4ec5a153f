#pragma once

#include "CUIWin7Dialog.h"
#include "StoredOperation.h"

#include <QDateTime>
#include <QString>

// One operation in full, in read-only fields. Run modally:
// CWndDetails dlg(CWndDetails::FromEntry(entry), mainWindow); dlg.exec();
class CWndDetails : public CUIWin7Dialog {
    Q_OBJECT
public:
    struct Data {
        QString counterpartyAccount;
        QString counterpartyName;
        QString title;
        QString operationDate;  // "dd-MM-yyyy", local time
        QString bookingDate;
        QString ownAccount;
        double amount = 0.0;
    };

    explicit CWndDetails(const Data& data, QWidget* parent = nullptr);

    // Seconds since 1970 to the local calendar date, day-month-year with hyphens.
    static QString FormatDate(qint64 seconds);

    static Data FromEntry(const StoredOperation& entry) {
        return Data{QString::fromStdU16String(entry.counterpartyAccount),
                    QString::fromStdU16String(entry.counterpartyName),
                    QString::fromStdU16String(entry.title),
                    FormatDate(entry.operationDate),
                    FormatDate(entry.bookingDate),
                    QString::fromStdU16String(entry.ownAccount),
                    entry.amount};
    }
};
