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

    void setOperations(std::vector<StoredOperation> all, std::vector<int> listed);

private:
    void browse();
    void exportFile();
    ExportFormat format() const;
    std::vector<StoredOperation> listedOperations() const;
    void writeFiles(const QString& path);

    QLineEdit* m_fileName = nullptr;
    QComboBox* m_format = nullptr;
    QComboBox* m_range = nullptr;
    std::vector<StoredOperation> m_all;
    std::vector<int> m_listed;
};
