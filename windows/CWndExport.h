#pragma once

#include "ExportFiles.h"

#include <QDialog>
#include <QString>
#include <vector>

class QComboBox;
class QLineEdit;

// Writes the main window's operations to a file in XML, OFX or CSV. Run modally:
//   CWndExport dlg(mainWindow);
//   dlg.setOperations(all, listed);   // listed: the list's rows, top to bottom, as indexes in all
//   dlg.exec();                       // closes after OK in every case, with its message
class CWndExport : public QDialog {
    Q_OBJECT
public:
    enum Range { Whole = 0, Listed = 1 };

    explicit CWndExport(QWidget* parent = nullptr);

    void setOperations(std::vector<ExportOperation> all, std::vector<int> listed);

    // From the main window's in-memory operation (any type with HistoryEntry's field names).
    template <class Entry>
    static ExportOperation FromEntry(const Entry& entry) {
        ExportOperation op;
        op.tid = entry.tid;
        op.ownAccount = entry.ownAccount.toStdU16String();
        op.ownAccountName = entry.ownAccountName.toStdU16String();
        op.counterpartyAccount = entry.counterpartyAccount.toStdU16String();
        op.operationDate = entry.operationDate;
        op.bookingDate = entry.bookingDate;
        op.counterpartyName = entry.counterpartyName.toStdU16String();
        op.direction = entry.direction;
        op.kind = entry.kind;
        op.title = entry.title.toStdU16String();
        op.amount = entry.amount;
        return op;
    }

private:
    void browse();
    void exportFile();
    ExportFormat format() const;
    std::vector<ExportOperation> listedOperations() const;
    void writeFiles(const QString& path);

    QLineEdit* m_fileName = nullptr;
    QComboBox* m_format = nullptr;
    QComboBox* m_range = nullptr;
    std::vector<ExportOperation> m_all;
    std::vector<int> m_listed;
};
