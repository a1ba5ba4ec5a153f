#pragma once

#include "CUIWin7Dialog.h"

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

    // From the main window's in-memory operation (any type with HistoryEntry's field names).
    template <class Entry>
    static Data FromEntry(const Entry& entry) {
        return Data{entry.counterpartyAccount,
                    entry.counterpartyName,
                    entry.title,
                    FormatDate(entry.operationDate),
                    FormatDate(entry.bookingDate),
                    entry.ownAccount,
                    entry.amount};
    }
};
